// oruk-cli chart, report and compare: the analysis charts, the printed analysis report and the
// energy comparison, written to PNG, SVG or PDF files.
#include "analysis/Analysis.h"
#include "analysis/EvaluationTexts.h"
#include "analysis/OleDate.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/TextCipher.h"
#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"
#include "app/cli/RecordSupport.h"
#include "charts/AnalysisReport.h"
#include "charts/Charts.h"
#include "charts/Comparison.h"
#include "charts/painter/ChartOutput.h"
#include "charts/painter/GuiApp.h"
#include "charts/painter/PdfPrintDevice.h"
#include "programs/ProgramLibrary.h"
#include "records/ReferenceTexts.h"

#include <charconv>
#include <ostream>

namespace oruk::cli {

namespace {

constexpr int kDefaultWidth = 965, kDefaultHeight = 554;

std::filesystem::path WorkDirOf(const CliArgs& args) {
    return CommandWorkDir(args.Value("workdir"));
}

Settings ReadSettingsOrDefaults(const std::filesystem::path& workDir) {
    if (auto stored = ReadSettingsFile(workDir / kSettingsFileName))
        return std::move(*stored);
    return Settings();
}

// "WxH", each between 100 and 10000 pixels.
std::pair<int, int> ParseSize(const std::optional<std::string>& text) {
    if (!text)
        return {kDefaultWidth, kDefaultHeight};
    const std::string& s = *text;
    const std::size_t x = s.find_first_of("xX");
    int w = 0, h = 0;
    auto num = [](std::string_view f, int& v) {
        auto r = std::from_chars(f.data(), f.data() + f.size(), v);
        return !f.empty() && r.ec == std::errc() && r.ptr == f.data() + f.size();
    };
    if (x == std::string::npos || !num(std::string_view(s).substr(0, x), w) ||
        !num(std::string_view(s).substr(x + 1), h) || w < 100 || h < 100 || w > 10000 || h > 10000)
        throw CliError("--size must be WIDTHxHEIGHT in pixels, each 100 to 10000, not '" + s + "'");
    return {w, h};
}

double ParseDate(const std::string& option, const std::string& text, bool withTime) {
    const std::optional<double> date = ParseIsoDate(text);
    if (!date || (!withTime && text.size() != 10))
        throw CliError("--" + option + ": not a valid date: '" + text + "' (expected YYYY-MM-DD" +
                       (withTime ? "[THH:MM[:SS]])" : ")"));
    return *date;
}

// The analysed measurement and its subject, from --values or --mkey.
struct Analysed {
    SubjectInfo subject;
    MeasurementRecord record;
    AnalysisResult result;
    DisplayTables tables;
    Settings settings;
    std::map<int, ReferenceTopic> texts;
    std::vector<ReportProgram> programs; // matched user programs with their descriptions
};

void RequireOneSource(const CliArgs& args) {
    if (args.Has("mkey") == args.Has("values"))
        throw CliError("give either --mkey N or --values V1,...,V24");
    if (args.Has("mkey") && (args.Has("sex") || args.Has("birth") || args.Has("date")))
        throw CliError("--sex, --birth and --date go with --values; a stored measurement has its own");
}

Analysed LoadAnalysed(const CliArgs& args, std::ostream& err, bool withTexts) {
    RequireOneSource(args);
    Analysed a;
    const std::filesystem::path workDir = WorkDirOf(args);
    std::optional<DatabaseConnections> db;
    if (args.Has("mkey")) {
        db.emplace(OpenDatabases(workDir, err));
        Records::Loaded loaded = LoadStoredMeasurement(*db->main, *args.Value("mkey"));
        a.subject = loaded.subject;
        a.record = loaded.record;
    } else {
        a.record.Values = ParseRecordValueList(*args.Value("values"), "values");
        const std::string sex = args.Value("sex").value_or("male");
        if (sex != "male" && sex != "female")
            throw CliError("--sex must be male or female, not '" + sex + "'");
        a.subject.Male = sex == "male";
        if (auto birth = args.Value("birth"))
            a.subject.Birth = ParseDate("birth", *birth, false);
        a.record.MeDate = args.Value("date") ? ParseDate("date", *args.Value("date"), true) : OleNow();
        if (a.subject.Birth > 0 && a.subject.Birth > a.record.MeDate)
            throw CliError("--birth lies after the measuring date");
    }
    if (!a.record.IsComplete())
        throw CliError("the measurement is not complete: every one of the 24 values must be above 0");
    a.settings = ReadSettingsOrDefaults(workDir);
    a.tables = a.settings.Tables();
    try {
        a.result = Analyse(a.record, a.subject.Male, a.subject.Birth, a.tables);
    } catch (const AnalysisError& e) {
        throw CliError(e.what());
    }
    // The reference texts and the user's programs live in the databases: only a stored
    // measurement reads them.
    if (db && withTexts) {
        if (db->texts)
            a.texts = ReadReferenceTopics(*db->texts);
        ProgramLibrary library(*db->main);
        const MatchSubject who{a.subject.Male, a.subject.Birth, OleNow()};
        for (const ProgramMatch& m : MatchPrograms(library.ForMatching(), a.result, who)) {
            auto program = library.FindProgramByKey(m.MKey);
            a.programs.push_back({m.ProName, program ? program->ProData : std::string()});
        }
    }
    return a;
}

} // namespace

int RunChart(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {{"mkey", OptionKind::Value},
                              {"values", OptionKind::Value},
                              {"sex", OptionKind::Value},
                              {"birth", OptionKind::Value},
                              {"date", OptionKind::Value},
                              {"size", OptionKind::Value},
                              {"png", OptionKind::Value},
                              {"svg", OptionKind::Value},
                              {"workdir", OptionKind::Value}});
    if (args.Positional().size() != 1)
        throw CliError(
            "give one chart name: energy-balance, eci, autonomic, bar, slope, ryodoraku, yin-yang, "
            "qi-blood or five-elements");
    const std::optional<ChartKind> kind = ChartKindFromName(args.Positional().front());
    if (!kind)
        throw CliError("unknown chart '" + args.Positional().front() +
                       "' (energy-balance, eci, autonomic, bar, slope, ryodoraku, yin-yang, qi-blood, "
                       "five-elements)");
    if (args.Has("png") == args.Has("svg"))
        throw CliError("give either --png FILE or --svg FILE");
    const auto [width, height] = ParseSize(args.Value("size"));
    const std::string file = args.Has("png") ? *args.Value("png") : *args.Value("svg");
    if (file.empty())
        throw CliError("the output file name is empty");
    EnsureGuiApplication();
    Analysed a = LoadAnalysed(args, err, false);
    ChartInput input;
    input.result = &a.result;
    input.tables = &a.tables;
    input.male = a.subject.Male;
    input.workDir = WorkDirOf(args).string();
    std::string error;
    const bool ok = args.Has("png") ? SaveChartPng(*kind, input, width, height, file, error)
                                    : SaveChartSvg(*kind, input, width, height, file, error);
    if (!ok) {
        err << "cannot write " << file << ": " << error << "\n";
        return kExitFailure;
    }
    out << ChartCaption(*kind) << " -> " << file << "\n";
    return kExitOk;
}

int RunReport(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {{"mkey", OptionKind::Value},
                              {"values", OptionKind::Value},
                              {"sex", OptionKind::Value},
                              {"birth", OptionKind::Value},
                              {"date", OptionKind::Value},
                              {"pdf", OptionKind::Value},
                              {"options", OptionKind::Value},
                              {"workdir", OptionKind::Value}});
    if (!args.Positional().empty())
        throw CliError("unexpected argument '" + args.Positional().front() + "'");
    const std::optional<std::string> pdf = args.Value("pdf");
    if (!pdf || pdf->empty())
        throw CliError("--pdf FILE is required");
    if (auto o = args.Value("options"); o && !IsValidOptionString(*o))
        throw CliError("--options needs 42 characters of 0 and 1 (positions 36-38: the header space in mm)");
    EnsureGuiApplication();
    Analysed a = LoadAnalysed(args, err, true);
    ReportInput in;
    in.subject = a.subject;
    in.record = a.record;
    in.result = a.result;
    in.tables = a.tables;
    in.options = ReportOptions::Parse(args.Value("options").value_or(a.settings.AnalysisOptionFlags));
    in.reportTitle = a.settings.ReportTitle;
    in.orgName = a.settings.OrgName;
    in.orgUnit = a.settings.OrgUnit;
    in.today = OleNow();
    in.texts = std::move(a.texts);
    in.treatmentRecord = JoinMemo(a.record.Memo);
    for (char& ch : in.treatmentRecord)
        if (ch == '\r')
            ch = ' ';
    in.findings = FindingItems(a.result);
    in.prescriptions = PrescriptionItems(a.result);
    in.diet = DietItems(a.result);
    in.programs = std::move(a.programs);
    PdfPrintDevice device(*pdf, 600);
    std::string error;
    if (!PrintAnalysisReport(device, in, nullptr, &error)) {
        err << "cannot write " << *pdf << ": " << error << "\n";
        return kExitFailure;
    }
    out << "analysis report -> " << *pdf << "\n";
    return kExitOk;
}

int RunCompare(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {{"mkey", OptionKind::Value},
                              {"with", OptionKind::Value},
                              {"line", OptionKind::Flag},
                              {"pdf", OptionKind::Value},
                              {"png", OptionKind::Value},
                              {"size", OptionKind::Value},
                              {"workdir", OptionKind::Value}});
    if (!args.Positional().empty())
        throw CliError("unexpected argument '" + args.Positional().front() + "'");
    if (!args.Has("mkey"))
        throw CliError("--mkey N is required");
    if (args.Has("pdf") == args.Has("png"))
        throw CliError("give either --pdf FILE or --png FILE");
    const std::string file = args.Has("pdf") ? *args.Value("pdf") : *args.Value("png");
    if (file.empty())
        throw CliError("the output file name is empty");
    if (args.Has("pdf") && args.Has("size"))
        throw CliError("--size goes with --png");
    const auto [width, height] = ParseSize(args.Value("size"));
    EnsureGuiApplication();
    const std::filesystem::path workDir = WorkDirOf(args);
    DatabaseConnections db = OpenDatabases(workDir, err);
    const Settings settings = ReadSettingsOrDefaults(workDir);
    ComparisonInput in;
    in.tables = settings.Tables();
    in.orgName = settings.OrgName;
    in.orgUnit = settings.OrgUnit;
    in.lineChart = args.Has("line");
    in.now = OleNow();
    Records::Loaded source = LoadStoredMeasurement(*db.main, *args.Value("mkey"));
    in.source = MakeComparisonSide(source.subject.CustNo, source.subject.Name, source.record, in.tables);
    if (auto with = args.Value("with")) {
        Records::Loaded other = LoadStoredMeasurement(*db.main, *with);
        in.comparison = MakeComparisonSide(other.subject.CustNo, other.subject.Name, other.record, in.tables);
    }
    std::string error;
    bool ok = false;
    if (args.Has("pdf")) {
        PdfPrintDevice device(file, 600);
        ok = PrintComparisonReport(device, in, nullptr, &error);
    } else {
        ok = SavePng([&](Canvas& c) { DrawComparisonChart(c, in); }, width, height, file, error);
    }
    if (!ok) {
        err << "cannot write " << file << ": " << error << "\n";
        return kExitFailure;
    }
    out << "energy comparison -> " << file << "\n";
    return kExitOk;
}

} // namespace oruk::cli
