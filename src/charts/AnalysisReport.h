#pragma once

#include "analysis/Analysis.h"
#include "analysis/EvaluationTexts.h"
#include "app/SharedState.h"
#include "charts/PrintLayout.h"
#include "charts/ReportOptions.h"

#include <map>
#include <string>
#include <vector>

namespace oruk {

// One suggested expert program: its name and its description (ProData).
struct ReportProgram {
    std::string name;
    std::string data;
};

// Everything the printed analysis report reads. Plain data, so that the report is printed the same
// way from the windows, the command line and tests.
struct ReportInput {
    SubjectInfo subject;
    MeasurementRecord record; // the analysed record, with its compensated values
    AnalysisResult result;
    DisplayTables tables = DefaultDisplayTables();
    ReportOptions options;
    std::string reportTitle, orgName, orgUnit;
    std::vector<EvaluationItem> findings, prescriptions, diet; // item code 1-12 meridian, 13-17 index topic
    std::vector<ReportProgram> programs;
    std::map<int, ReferenceTopic> texts; // by item code (MKEY)
    std::string treatmentRecord;
    double today = 0;    // the printing date, days since 1899-12-30
    std::string workDir; // unused on paper, kept for the charts' input
};

inline constexpr const char* kReportJobPrefix = "ORUK Analysis Report_";
inline constexpr const char* kDefaultReportTitle = "O.R.U.K.經絡能量分析系統報表";
inline constexpr const char* kProductName = "O.R.U.K. Kv-50";

// Prints the report on the device: job start, header, the ticked sections in their order, job end.
// Returns true when the job ended normally; false when it was aborted or the device failed
// (error then says why; empty for an abort).
bool PrintAnalysisReport(PrintDevice& device, const ReportInput& input, PrintObserver* observer = nullptr,
                         std::string* error = nullptr);

// Word-wraps text into the lines a box of maxWidth device units shows in the canvas's current font:
// each paragraph becomes as many lines as it needs, an empty paragraph one empty line.
std::vector<std::string> WrapText(Canvas& canvas, const std::string& text, int maxWidth);

// Date and time texts of the reports.
std::string ReportDateText(double days);
std::string ReportTimeText(double days);
// Age in years at `date` for a birth date, "%3.1f"; "N.A." without a birth date.
std::string AgeText(double birth, double date);

} // namespace oruk
