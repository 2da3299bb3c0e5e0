#include "analysis/OleDate.h"
#include "app/WorkDir.h"
#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"
#include "app/cli/RecordSupport.h"
#include "records/Provisioning.h"
#include "records/Transfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <charconv>
#include <ostream>

namespace oruk::cli {

namespace {

const OptionSpec kWorkDir{"workdir", OptionKind::Value};
const OptionSpec kJson{"json", OptionKind::Flag};

void PrintJson(std::ostream& out, const QJsonValue& value) {
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << doc.toJson(QJsonDocument::Indented).toStdString();
}

QJsonValue DateOrNull(double days) {
    return days > kNoBirthdayLimit ? QJsonValue(QString::fromStdString(FormatIsoDate(days))) : QJsonValue();
}

QJsonObject SubjectJson(const Subject& s, int position, double now) {
    const SubjectDisplay d = SubjectDisplayColumns(s, position, now);
    QJsonObject o;
    o["RENO"] = position;
    o["CUSTNO"] = ToQ(s.CustNo);
    o["NAME"] = ToQ(s.Name);
    o["SEX"] = s.Male ? "male" : "female";
    o["Sex_S"] = ToQ(d.Sex_S);
    o["DBIRTH"] = DateOrNull(s.Birth);
    o["MEAGE"] = ToQ(d.MEAGE);
    o["PREMEA"] = s.Premea > kNoBirthdayLimit ? QJsonValue(ToQ(FormatIsoDateTime(s.Premea))) : QJsonValue();
    o["TEL"] = ToQ(s.Tel);
    o["ADDR"] = ToQ(s.Addr);
    o["EMAIL"] = ToQ(s.Email);
    o["TEL2"] = ToQ(s.Tel2);
    o["TEL3"] = ToQ(s.Tel3);
    o["MEMO"] = ToQ(s.Memo);
    return o;
}

void PrintSubjectLine(std::ostream& out, const Subject& s, int position, double now) {
    const SubjectDisplay d = SubjectDisplayColumns(s, position, now);
    out << d.RENO << '\t' << s.CustNo << '\t' << s.Name << '\t' << d.Sex_S << '\t'
        << (s.Birth > kNoBirthdayLimit ? FormatIsoDate(s.Birth) : "") << '\t' << d.MEAGE << '\t'
        << (s.Premea > kNoBirthdayLimit ? FormatIsoDateTime(s.Premea) : "") << '\t' << s.Tel << '\t' << s.Addr
        << '\t' << s.Email << '\t' << s.Tel2 << '\t' << s.Tel3 << '\n';
}

int ParseSortColumn(const std::optional<std::string>& text) {
    if (!text)
        return 1;
    int v = 0;
    const auto res = std::from_chars(text->data(), text->data() + text->size(), v);
    if (res.ec != std::errc() || res.ptr != text->data() + text->size() || v < -11 || v > 11)
        throw CliError("--sort needs a column number from -11 to 11 (negative: descending)");
    return SortColumnOnOpen(v);
}

std::string RequireNumber(const CliArgs& args, const char* option) {
    const auto v = args.Value(option);
    const std::string n = v ? TrimText(*v) : std::string();
    if (n.empty())
        throw CliError(std::string("--") + option + " needs a subject number");
    if (QString::fromStdString(n).toUcs4().size() > kCustNoMaxLength)
        throw CliError("a subject number has at most 15 characters");
    return n;
}

double ParseBirth(const std::string& text) {
    if (text.empty() || text == "none")
        return 0;
    const auto d = ParseIsoDate(text);
    if (!d || text.size() != 10)
        throw CliError("--birth needs a date YYYY-MM-DD (or none)");
    return *d;
}

const std::vector<OptionSpec> kSubjectFields = {
    {"name", OptionKind::Value}, {"sex", OptionKind::Value},   {"birth", OptionKind::Value},
    {"addr", OptionKind::Value}, {"tel", OptionKind::Value},   {"tel2", OptionKind::Value},
    {"tel3", OptionKind::Value}, {"email", OptionKind::Value}, {"memo", OptionKind::Value},
};

void ApplyFields(const CliArgs& args, Subject& s) {
    if (auto v = args.Value("name"))
        s.Name = *v;
    if (auto v = args.Value("sex")) {
        if (*v != "male" && *v != "female")
            throw CliError("--sex is male or female");
        s.Male = *v == "male";
    }
    if (auto v = args.Value("birth"))
        s.Birth = ParseBirth(*v);
    if (auto v = args.Value("addr"))
        s.Addr = *v;
    if (auto v = args.Value("tel"))
        s.Tel = *v;
    if (auto v = args.Value("tel2"))
        s.Tel2 = *v;
    if (auto v = args.Value("tel3"))
        s.Tel3 = *v;
    if (auto v = args.Value("email"))
        s.Email = *v;
    if (auto v = args.Value("memo"))
        s.Memo = *v;
}

void NoPositional(const CliArgs& args) {
    if (!args.Positional().empty())
        throw CliError("unexpected argument '" + args.Positional().front() + "'");
}

} // namespace

int RunInit(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {kWorkDir});
    NoPositional(args);
    const auto dir = CommandWorkDir(args.Value("workdir"));
    const DatabaseConnections db = OpenDatabases(dir, err);
    out << "working directory: " << dir.string() << "\n";
    return kExitOk;
}

int RunSubjects(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {kWorkDir, kJson, {"sort", OptionKind::Value}, {"search", OptionKind::Value}});
    NoPositional(args);
    const int sort = ParseSortColumn(args.Value("sort"));
    const auto search = args.Value("search");
    if (search && TrimText(*search).empty())
        throw CliError("--search needs a text");
    if (search && !SearchBoxStateFor(sort, 0).enabled)
        throw CliError("the list cannot be searched when sorted by sex, age or latest measurement");
    DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
    Records records(*db.main);
    const double now = OleNow();
    std::vector<Subject> rows;
    int first = 0;
    if (search) {
        const auto found = records.Search(sort, *search);
        if (!found) {
            err << "no subject found for '" << TrimText(*search) << "'\n";
            return kExitFailure;
        }
        first = *found;
        rows = records.ListSubjects(sort, first, 1);
    } else {
        rows = records.ListSubjects(sort, 0, std::numeric_limits<int>::max());
    }
    if (args.Has("json")) {
        QJsonArray list;
        for (std::size_t i = 0; i < rows.size(); ++i)
            list.append(SubjectJson(rows[i], first + static_cast<int>(i) + 1, now));
        PrintJson(out, list);
    } else {
        for (std::size_t i = 0; i < rows.size(); ++i)
            PrintSubjectLine(out, rows[i], first + static_cast<int>(i) + 1, now);
    }
    return kExitOk;
}

int RunSubject(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    std::vector<OptionSpec> options = kSubjectFields;
    options.push_back(kWorkDir);
    options.push_back({"no", OptionKind::Value});
    options.push_back({"new-no", OptionKind::Value});
    const CliArgs args(argv, options);
    if (args.Positional().size() != 1)
        throw CliError("use: subject add|change|delete --no NO ...");
    const std::string action = args.Positional().front();
    const std::string no = RequireNumber(args, "no");
    if (action == "add") {
        if (args.Has("new-no"))
            throw CliError("--new-no belongs to subject change");
        Subject s;
        s.CustNo = no;
        ApplyFields(args, s);
        DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
        Records records(*db.main);
        const auto r = records.AddSubject(s);
        if (r.outcome == SubjectChange::Duplicate)
            throw CliError(DuplicateSubjectMessage(r.duplicateName));
        out << "added " << no << "\n";
        return kExitOk;
    }
    if (action == "change") {
        const std::string newNo = args.Has("new-no") ? RequireNumber(args, "new-no") : no;
        Subject probe;
        ApplyFields(args, probe); // bad field values are refused before anything is opened
        DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
        Records records(*db.main);
        auto s = records.FindSubject(no);
        if (!s)
            throw CliError("no subject has the number " + no);
        const std::string oldNo = s->CustNo;
        ApplyFields(args, *s);
        s->CustNo = newNo;
        // Without --new-no the number stays as stored, whatever letter case was typed.
        if (!args.Has("new-no"))
            s->CustNo = oldNo;
        const auto r = records.ChangeSubject(oldNo, *s);
        if (r.outcome == SubjectChange::Duplicate)
            throw CliError(DuplicateSubjectMessage(r.duplicateName));
        out << "changed " << s->CustNo << "\n";
        return kExitOk;
    }
    if (action == "delete") {
        for (const auto& f : kSubjectFields)
            if (args.Has(f.name))
                throw CliError("--" + f.name + " belongs to subject add or change");
        DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
        Records records(*db.main);
        const int removed = records.DeleteSubject(no);
        if (removed == 0)
            throw CliError("no subject has the number " + no);
        out << "deleted " << no << " with " << removed - 1 << " measurement(s)\n";
        return kExitOk;
    }
    throw CliError("unknown subject action '" + action + "' (add, change or delete)");
}

int RunMeasurements(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {kWorkDir, kJson, {"subject", OptionKind::Value}});
    NoPositional(args);
    const std::string no = RequireNumber(args, "subject");
    DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
    Records records(*db.main);
    const auto subject = records.FindSubject(no);
    if (!subject)
        throw CliError("no subject has the number " + no);
    const auto rows = records.MeasurementsOf(no);
    QJsonArray list;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& m = rows[i];
        const auto d = MeasurementDisplayColumns(m, static_cast<int>(i) + 1, subject->Birth);
        if (args.Has("json")) {
            QJsonObject o;
            o["STNO"] = static_cast<int>(i) + 1;
            o["MKEY"] = m.MKey;
            o["CUSTNO"] = ToQ(m.CustNo);
            o["MEDATE"] = ToQ(FormatIsoDateTime(m.MeDate));
            o["MEVOTA"] = m.HighVoltage;
            o["MEVOTA_C"] = ToQ(d.MEVOTA_C);
            o["Mea_Age"] = ToQ(d.Mea_Age);
            o["Dta_Avg"] = ToQ(d.Dta_Avg);
            QJsonArray values, std;
            const auto scores = ParseStd(m.Std);
            for (int p = 1; p <= kPointCount; ++p) {
                values.append(m.Values[p]);
                std.append(scores[p]);
            }
            o["Values"] = values;
            o["STD"] = std;
            o["MEMO1"] = ToQ(m.Memo1);
            list.append(o);
        } else {
            out << d.STNO << '\t' << m.MKey << '\t' << FormatIsoDateTime(m.MeDate) << '\t' << d.Dta_Avg
                << '\t' << d.Mea_Age << '\t' << d.MEVOTA_C;
            for (double v : m.Values) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "\t%.1f", v);
                out << buf;
            }
            out << '\n';
        }
    }
    if (args.Has("json"))
        PrintJson(out, list);
    return kExitOk;
}

int RunSave(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {kWorkDir,
                              {"subject", OptionKind::Value},
                              {"values", OptionKind::Value},
                              {"std", OptionKind::Value},
                              {"date", OptionKind::Value},
                              {"high", OptionKind::Flag},
                              {"memo", OptionKind::Value}});
    NoPositional(args);
    const std::string no = RequireNumber(args, "subject");
    const auto values = args.Value("values");
    if (!values)
        throw CliError("--values needs the 24 point values");
    MeasurementRecord record;
    record.Values = ParseRecordValueList(*values, "values");
    if (auto s = args.Value("std"))
        record.Std = ParseRecordValueList(*s, "std");
    if (auto d = args.Value("date")) {
        const auto date = ParseIsoDate(*d);
        if (!date)
            throw CliError("--date needs YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS]");
        record.MeDate = *date;
    } else {
        record.MeDate = OleNow();
    }
    record.HighVoltage = args.Has("high");
    if (auto m = args.Value("memo"))
        record.Memo = SplitMemo(*m);
    DatabaseConnections db = OpenDatabases(CommandWorkDir(args.Value("workdir")), err);
    Records records(*db.main);
    const auto mkey = records.SaveMeasurement(no, record);
    if (!mkey)
        throw CliError("no subject has the number " + no);
    out << *mkey << "\n";
    return kExitOk;
}

namespace {

TransferChoice ChoiceOf(const CliArgs& args) {
    TransferChoice c{args.Has("programs"), args.Has("records")};
    if (!c.programs && !c.records)
        c = {true, true}; // neither named: both data sets
    return c;
}

std::filesystem::path RequireFolder(const CliArgs& args, const char* option) {
    const auto v = args.Value(option);
    if (!v || v->empty())
        throw CliError(std::string("--") + option + " needs a folder");
    std::error_code ec;
    if (!std::filesystem::is_directory(*v, ec))
        throw CliError(std::string("--") + option + ": no such folder: " + *v);
    return std::filesystem::absolute(*v);
}

} // namespace

int RunExport(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(
        argv,
        {kWorkDir, {"to", OptionKind::Value}, {"programs", OptionKind::Flag}, {"records", OptionKind::Flag}});
    NoPositional(args);
    const auto folder = RequireFolder(args, "to");
    const auto workDir = CommandWorkDir(args.Value("workdir"));
    DatabaseConnections db = OpenDatabases(workDir, err);
    TransferObserver observer;
    const auto outcome = ExportTransfer(*db.main, workDir, folder, ChoiceOf(args), observer);
    (outcome.ok ? out : err) << outcome.message << "\n";
    return outcome.ok ? kExitOk : kExitFailure;
}

int RunImport(const CommandArgs& argv, std::ostream& out, std::ostream& err) {
    const CliArgs args(argv, {kWorkDir,
                              {"from", OptionKind::Value},
                              {"programs", OptionKind::Flag},
                              {"records", OptionKind::Flag},
                              {"replace", OptionKind::Flag}});
    NoPositional(args);
    const auto folder = RequireFolder(args, "from");
    if (!TransferFileAvailable(folder))
        throw CliError(TransferErrorText(2, false) + " (" + (folder / "MeTran.mdb").string() + ")");
    const auto workDir = CommandWorkDir(args.Value("workdir"));
    DatabaseConnections db = OpenDatabases(workDir, err);
    TransferObserver observer;
    const auto outcome =
        ImportTransfer(*db.main, workDir, folder, ChoiceOf(args), args.Has("replace"), observer);
    for (const auto& notice : outcome.skipped)
        err << notice << "\n";
    (outcome.ok ? out : err) << outcome.message << "\n";
    return outcome.ok ? kExitOk : kExitFailure;
}

} // namespace oruk::cli
