#include "analysis/Analysis.h"
#include "analysis/OleDate.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/WorkDir.h"
#include "app/cli/AnalysisOutput.h"
#include "app/cli/AnalysisRecords.h"
#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"
#include "app/cli/RecordSupport.h"
#include "records/FileOps.h"
#include "records/Schema.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <sstream>

namespace oruk::cli {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Exactly 24 comma-separated decimal numbers, by point index.
PointValues ParsePointList(const std::string& option, const std::string& text) {
    PointValues values{};
    std::string_view rest = text;
    int count = 0;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view field = Trim(rest.substr(0, comma));
        ++count;
        if (count > kPointCount)
            throw CliError("--" + option + " needs exactly 24 numbers, got more");
        double v = 0;
        const auto res = std::from_chars(field.data(), field.data() + field.size(), v);
        if (field.empty() || res.ec != std::errc() || res.ptr != field.data() + field.size() ||
            !std::isfinite(v))
            throw CliError("--" + option + ": ME" + std::to_string(count) + " is not a number: '" +
                           std::string(field) + "'");
        values[count] = v;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (count != kPointCount)
        throw CliError("--" + option + " needs exactly 24 numbers, got " + std::to_string(count));
    return values;
}

double ParseDateOption(const std::string& option, const std::string& text, bool withTime) {
    const std::optional<double> date = ParseIsoDate(text);
    if (!date || (!withTime && text.size() != 10))
        throw CliError("--" + option + ": not a valid date: '" + text + "' (expected YYYY-MM-DD" +
                       (withTime ? "[THH:MM[:SS]])" : ")"));
    return *date;
}

std::string Choice(const CliArgs& args, const std::string& option,
                   std::initializer_list<const char*> allowed) {
    const std::optional<std::string> value = args.Value(option);
    if (!value)
        return *allowed.begin();
    std::string list;
    for (const char* a : allowed) {
        if (*value == a)
            return *value;
        list += (list.empty() ? "" : ", ") + std::string(a);
    }
    throw CliError("--" + option + " must be one of " + list + ", not '" + *value + "'");
}

} // namespace

int RunAnalyze(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {{"values", OptionKind::Value},
                              {"std", OptionKind::Value},
                              {"sex", OptionKind::Value},
                              {"birth", OptionKind::Value},
                              {"date", OptionKind::Value},
                              {"coefficients", OptionKind::Value},
                              {"order", OptionKind::Value},
                              {"workdir", OptionKind::Value},
                              {"mkey", OptionKind::Value},
                              {"json", OptionKind::Flag}});
    if (!args.Positional().empty())
        throw CliError("unexpected argument '" + args.Positional().front() + "'");
    const std::optional<std::string> mkeyText = args.Value("mkey");
    const std::optional<std::string> valuesText = args.Value("values");
    if (mkeyText) {
        for (const char* option : {"values", "std", "sex", "birth", "date"})
            if (args.Has(option))
                throw CliError(std::string("--") + option +
                               " cannot be used with --mkey: the stored measurement gives it");
    } else if (!valuesText) {
        throw CliError("--values V1,...,V24 or --mkey N is required");
    }

    MeasurementRecord record;
    AnalysisSubject subject;
    const double today = OleNow();
    // A stored measurement runs the database start-up first, as the program does; plain values
    // only read what the working directory already holds and never create a file.
    DatabaseConnections connections;
    std::unique_ptr<DbSession> readMain, readTexts, readPrograms;
    if (mkeyText) {
        connections = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
        Records::Loaded loaded = LoadStoredMeasurement(*connections.main, *mkeyText);
        record = std::move(loaded.record);
        subject.CustNo = loaded.subject.CustNo;
        subject.Name = loaded.subject.Name;
        subject.Tel = loaded.subject.Tel;
        subject.Male = loaded.subject.Male;
        subject.Birth = loaded.subject.Birth;
        for (int i = 1; i <= kPointCount; ++i)
            if (!(record.Values[i] > 0))
                throw CliError("the stored measurement " + *mkeyText + " is unfinished: ME" +
                               std::to_string(i) + " was not measured");
    } else {
        record.Values = ParsePointList("values", *valuesText);
        for (int i = 1; i <= kPointCount; ++i)
            if (!(record.Values[i] > 0))
                throw CliError("--values: ME" + std::to_string(i) +
                               " must be above 0 (only a complete measurement "
                               "can be analysed)");
        if (const auto stdText = args.Value("std"))
            record.Std = ParsePointList("std", *stdText);

        subject.Male = Choice(args, "sex", {"male", "female"}) == "male";
        if (const auto birth = args.Value("birth"))
            subject.Birth = ParseDateOption("birth", *birth, false);
        record.MeDate = today;
        if (const auto date = args.Value("date"))
            record.MeDate = ParseDateOption("date", *date, true);
        const auto dir = CommandWorkDir(args.Value("workdir"));
        const auto openIfThere = [&](const char* name) -> std::unique_ptr<DbSession> {
            const auto file = FindFileNoCase(dir, name);
            if (!file)
                return nullptr;
            try {
                return std::make_unique<DbSession>(*file, DbMode::ReadOnly);
            } catch (const DbError&) {
                return nullptr; // an unreadable file only leaves its part of the output empty
            }
        };
        readMain = openIfThere(dbfiles::Main);
        readTexts = openIfThere(dbfiles::Texts);
        readPrograms = openIfThere(dbfiles::Programs);
    }
    if (!mkeyText && subject.Birth > 0 && subject.Birth > record.MeDate)
        throw CliError("--birth lies after the measuring date");

    const std::string coefficients = Choice(args, "coefficients", {"settings", "default", "unit"});
    const std::string order = Choice(args, "order", {"settings", "default", "alternative"});
    Settings settings;
    if (coefficients == "settings" || order == "settings") {
        const std::optional<std::filesystem::path> dir =
            args.Value("workdir") ? std::optional<std::filesystem::path>(*args.Value("workdir"))
                                  : std::nullopt;
        // Reading never creates the file: without one the defaults hold.
        if (auto stored = ReadSettingsFile(ResolveWorkDir(dir) / kSettingsFileName))
            settings = std::move(*stored);
    }
    const int orderMode = order == "settings" ? settings.MeridianOrderMode : order == "default" ? 0 : 1;
    const int coefficientMode = coefficients == "settings"  ? settings.CoefficientMode
                                : coefficients == "default" ? 0
                                                            : 1;
    const DisplayTables tables = BuildDisplayTables(orderMode, settings.CustomMeridianOrder, coefficientMode,
                                                    settings.CustomCoefficient);

    AnalysisResult result;
    try {
        result = Analyse(record, subject.Male, subject.Birth, tables);
    } catch (const AnalysisError& e) {
        throw CliError(e.what());
    }

    // Everything is rendered first, so a failure writes nothing.
    AnalysisDatabases databases;
    databases.main = mkeyText ? connections.main.get() : readMain.get();
    databases.texts = mkeyText ? connections.texts.get() : readTexts.get();
    databases.programs = mkeyText ? connections.programs.get() : readPrograms.get();
    MatchSubject matchSubject;
    matchSubject.Male = subject.Male;
    matchSubject.Birth = subject.Birth;
    matchSubject.Today = today;
    AnalysisExtras extras;
    try {
        // Plain values in a directory without databases give the analysis alone.
        if (databases.main || databases.texts || databases.programs)
            extras = RecordAnalysisExtras(result, matchSubject, databases);
    } catch (const DbError& e) {
        if (mkeyText)
            throw;
        err << "reference data not shown: " << e.what() << "\n";
        extras = {};
    }

    std::ostringstream text;
    if (args.Has("json"))
        WriteAnalysisJson(text, result, extras);
    else
        WriteAnalysisText(text, result, record, subject, tables, today, extras);
    out << text.str();
    return kExitOk;
}

} // namespace oruk::cli
