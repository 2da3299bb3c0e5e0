#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace oruk::cli {

// Every command takes the words after its name and returns the process exit code
// (0 done, 1 failed, 2 bad input). Results go to out, messages to err.
using CommandArgs = std::vector<std::string>;

int RunAnalyze(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunSettings(const CommandArgs& args, std::ostream& out, std::ostream& err);

int RunDevice(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunMeasure(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunCalibrate(const CommandArgs& args, std::ostream& out, std::ostream& err);

int RunInit(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunSubjects(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunSubject(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunMeasurements(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunSave(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunExport(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunImport(const CommandArgs& args, std::ostream& out, std::ostream& err);

int RunChart(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunReport(const CommandArgs& args, std::ostream& out, std::ostream& err);
int RunCompare(const CommandArgs& args, std::ostream& out, std::ostream& err);

} // namespace oruk::cli
