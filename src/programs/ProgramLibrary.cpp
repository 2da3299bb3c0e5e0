#include "programs/ProgramLibrary.h"

#include <QSqlRecord>
#include <map>

namespace oruk {

namespace {

std::string Column(const QSqlQuery& q, const QSqlRecord& rec, const QString& name) {
    const int i = rec.indexOf(name);
    return i < 0 ? std::string() : ToStd(q.value(i));
}

Program ReadProgram(const QSqlQuery& q) {
    const QSqlRecord rec = q.record();
    Program p;
    p.MKey = q.value(rec.indexOf("MKEY")).toInt();
    p.ProNo = Column(q, rec, "ProNo");
    p.ProName = Column(q, rec, "ProName");
    p.ProData = Column(q, rec, "ProData");
    const QByteArray pict = q.value(rec.indexOf("ProPict")).toByteArray();
    p.ProPict.assign(pict.constData(), static_cast<std::size_t>(pict.size()));
    p.ProScal = q.value(rec.indexOf("ProScal")).toInt() != 0;
    p.PrtFG = q.value(rec.indexOf("PrtFG")).toInt() != 0;
    p.ProFN = Column(q, rec, "ProFN");
    for (int k = 1; k <= 4; ++k) {
        p.ProScrp[k] = Column(q, rec, QString("ProScrp%1").arg(k));
        p.ProPrg[k] = Column(q, rec, QString("ProPrg%1").arg(k));
        p.ProParm[k] = Column(q, rec, QString("ProParm%1").arg(k));
    }
    for (int k = 1; k <= 3; ++k)
        p.ProMed[k] = Column(q, rec, QString("ProMed%1").arg(k));
    for (int k = 1; k <= 5; ++k)
        p.ProHel[k] = Column(q, rec, QString("ProHel%1").arg(k));
    return p;
}

Condition ReadCondition(const QSqlQuery& q) {
    Condition c;
    c.MKey = q.value(0).toInt();
    c.ProNo = ToStd(q.value(1));
    c.ProSubN = ToStd(q.value(2));
    c.ProNote = ToStd(q.value(3));
    c.ProCond = ToStd(q.value(4));
    c.ProAnd = ToStd(q.value(5));
    c.ProAGL = q.value(6).toInt();
    c.ProAGH = q.value(7).toInt();
    c.ProEng = q.value(8).toDouble();
    c.ProFlg = q.value(9).toInt() != 0;
    return c;
}

const char* const kConditionColumns =
    "MKEY, ProNo, ProSubN, ProNote, ProCond, ProAnd, ProAGL, ProAGH, ProEng, ProFlg";

QString ProgramSetList() {
    QString set = "ProName = ?, ProData = ?, ProPict = ?, ProScal = ?, ProFN = ?";
    for (const char* g : {"ProScrp", "ProPrg", "ProParm"})
        for (int k = 1; k <= 4; ++k)
            set += QString(", %1%2 = ?").arg(g).arg(k);
    return set;
}

QVariantList ProgramValues(const Program& p) {
    QVariant pict(QMetaType(QMetaType::QByteArray));
    if (!p.ProPict.empty())
        pict = QByteArray(p.ProPict.data(), static_cast<qsizetype>(p.ProPict.size()));
    QVariantList v{ToQ(p.ProName), ToQ(p.ProData), pict, p.ProScal ? 1 : 0, ToQ(p.ProFN)};
    for (const auto* group : {&p.ProScrp, &p.ProPrg, &p.ProParm})
        for (int k = 1; k <= 4; ++k)
            v << ToQ((*group)[k]);
    return v;
}

std::string Trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

int Digit(const std::string& mask, int position) {
    if (static_cast<int>(mask.size()) < position)
        return 0;
    const char c = mask[static_cast<std::size_t>(position - 1)];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

} // namespace

ConditionMasks EncodeConditionBoxes(const ConditionBoxes& b) {
    std::string cond(24, '0'), all(24, '0');
    for (int p = 1; p <= 22; ++p) {
        int d = 0;
        if (p == 1 && b.Range)
            d = 4 + (b.RangeChoice < 0 ? 0 : b.RangeChoice);
        else if (p == 3 || p == 5)
            d = b.First[p] ? 1 : 0;
        else
            d = (b.First[p] ? 1 : 0) + (b.Second[p] ? 2 : 0);
        cond[static_cast<std::size_t>(p - 1)] = static_cast<char>('0' + d);
        all[static_cast<std::size_t>(p - 1)] = b.Item[p] ? '1' : '0';
    }
    cond[22] = static_cast<char>('0' + (b.AgeAtLeast ? 1 : 0) + (b.AgeAtMost ? 2 : 0));
    cond[23] = b.SexCondition ? (b.Female ? '2' : '1') : '0';
    return {cond, all};
}

ConditionBoxes DecodeConditionMasks(const std::string& proCond, const std::string& proAnd) {
    ConditionBoxes b;
    for (int p = 1; p <= 22; ++p) {
        b.Item[p] = static_cast<int>(proAnd.size()) >= p && proAnd[static_cast<std::size_t>(p - 1)] == '1';
        const int d = Digit(proCond, p);
        if (p == 1 && d >= 4 && d <= 6) {
            b.Range = true;
            b.RangeChoice = d - 4;
        } else if (p == 3 || p == 5) {
            b.First[p] = d != 0;
        } else {
            b.First[p] = (d & 1) != 0;
            b.Second[p] = (d & 2) != 0;
        }
    }
    const int age = Digit(proCond, 23);
    b.AgeAtLeast = (age & 1) != 0;
    b.AgeAtMost = (age & 2) != 0;
    const int sex = Digit(proCond, 24);
    b.SexCondition = sex == 1 || sex == 2;
    b.Female = sex == 2;
    return b;
}

std::string DuplicateProgramMessage(const std::string& name) {
    return "您所輸入的群組編號已經與另一群組 [ " + Trim(name) + " ] 重覆!!請重新指定另一個編號。";
}

std::vector<Program> ProgramLibrary::Read(const QString& where, const QVariantList& params,
                                          const QString& order) {
    QSqlQuery q = db_.Exec("SELECT * FROM MEPRO" + (where.isEmpty() ? QString() : " WHERE " + where) +
                               " ORDER BY " + order,
                           params);
    std::vector<Program> rows;
    while (q.next())
        rows.push_back(ReadProgram(q));
    return rows;
}

std::vector<Program> ProgramLibrary::Programs() {
    return Read({}, {}, "ProNo, MKEY");
}
std::vector<Program> ProgramLibrary::ProgramsInMatchOrder() {
    return Read({}, {}, "ProNo, MKEY");
}

std::optional<Program> ProgramLibrary::FindProgram(const std::string& proNo) {
    auto rows = Read("ProNo = ?", {ToQ(Trim(proNo))}, "MKEY LIMIT 1");
    return rows.empty() ? std::nullopt : std::optional<Program>(rows.front());
}

std::optional<Program> ProgramLibrary::FindProgramByKey(int mkey) {
    auto rows = Read("MKEY = ?", {mkey}, "MKEY");
    return rows.empty() ? std::nullopt : std::optional<Program>(rows.front());
}

std::optional<Program> ProgramLibrary::FindProgramByName(const std::string& proName) {
    auto rows = Read("ProName = ?", {ToQ(proName)}, "ProNo, MKEY LIMIT 1");
    return rows.empty() ? std::nullopt : std::optional<Program>(rows.front());
}

int ProgramLibrary::ProgramCount() {
    return db_.Scalar("SELECT count(*) FROM MEPRO").toInt();
}

ProgramChangeResult ProgramLibrary::AddProgram(const Program& p) {
    const std::string no = Trim(p.ProNo);
    if (no.empty())
        return {ProgramChange::EmptyNumber, {}, 0};
    DbTransaction tx(db_);
    if (const auto other = FindProgram(no))
        return {ProgramChange::Duplicate, Trim(other->ProName), 0};
    QString cols = "ProNo, ProName, ProData, ProPict, ProScal, ProFN", marks = "?, ?, ?, ?, ?, ?";
    for (const char* g : {"ProScrp", "ProPrg", "ProParm"})
        for (int k = 1; k <= 4; ++k) {
            cols += QString(", %1%2").arg(g).arg(k);
            marks += ", ?";
        }
    QSqlQuery q = db_.Exec("INSERT INTO MEPRO (" + cols + ") VALUES (" + marks + ")",
                           QVariantList{ToQ(no)} + ProgramValues(p));
    const int mkey = q.lastInsertId().toInt();
    tx.Commit();
    return {ProgramChange::Done, {}, mkey};
}

ProgramChangeResult ProgramLibrary::ChangeProgram(const Program& p) {
    DbTransaction tx(db_);
    const int n = db_.Exec("UPDATE MEPRO SET " + ProgramSetList() + " WHERE MKEY = ?",
                           ProgramValues(p) + QVariantList{p.MKey})
                      .numRowsAffected();
    if (n == 0)
        return {ProgramChange::NotFound, {}, 0};
    tx.Commit();
    return {ProgramChange::Done, {}, p.MKey};
}

int ProgramLibrary::DeleteProgram(const std::string& proNo) {
    const QString no = ToQ(Trim(proNo));
    DbTransaction tx(db_);
    // One program row goes (the one FindProgram gives); another program that an import brought
    // in with the same number stays.
    const QVariant mkey = db_.Scalar("SELECT MKEY FROM MEPRO WHERE ProNo = ? ORDER BY MKEY LIMIT 1", {no});
    if (!mkey.isValid())
        return 0;
    const int conditions = db_.Exec("DELETE FROM MEPRDT WHERE ProNo = ?", {no}).numRowsAffected();
    db_.Exec("DELETE FROM MEPRO WHERE MKEY = ?", {mkey});
    tx.Commit();
    return conditions + 1;
}

std::vector<Condition> ProgramLibrary::Conditions(const std::string& proNo) {
    QSqlQuery q =
        db_.Exec(QString("SELECT %1 FROM MEPRDT WHERE ProNo = ? ORDER BY MKEY").arg(kConditionColumns),
                 {ToQ(Trim(proNo))});
    std::vector<Condition> rows;
    while (q.next())
        rows.push_back(ReadCondition(q));
    return rows;
}

int ProgramLibrary::ConditionCount(const std::string& proNo) {
    return db_.Scalar("SELECT count(*) FROM MEPRDT WHERE ProNo = ?", {ToQ(Trim(proNo))}).toInt();
}

std::optional<int> ProgramLibrary::AddCondition(const std::string& proNo, const Condition& c) {
    DbTransaction tx(db_);
    const auto program = FindProgram(proNo);
    if (!program)
        return std::nullopt;
    QSqlQuery q =
        db_.Exec("INSERT INTO MEPRDT (ProNo, ProSubN, ProNote, ProCond, ProAnd, ProAGL, ProAGH, ProEng, "
                 "ProFlg) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 {ToQ(program->ProNo), ToQ(c.ProSubN), ToQ(c.ProNote), ToQ(c.ProCond), ToQ(c.ProAnd),
                  c.ProAGL, c.ProAGH, c.ProEng, c.ProFlg ? 1 : 0});
    const int mkey = q.lastInsertId().toInt();
    tx.Commit();
    return mkey;
}

bool ProgramLibrary::ChangeCondition(const Condition& c) {
    DbTransaction tx(db_);
    const int n = db_.Exec("UPDATE MEPRDT SET ProSubN = ?, ProNote = ?, ProCond = ?, ProAnd = ?, ProAGL = ?, "
                           "ProAGH = ?, ProEng = ?, ProFlg = ? WHERE MKEY = ?",
                           {ToQ(c.ProSubN), ToQ(c.ProNote), ToQ(c.ProCond), ToQ(c.ProAnd), c.ProAGL, c.ProAGH,
                            c.ProEng, c.ProFlg ? 1 : 0, c.MKey})
                      .numRowsAffected();
    tx.Commit();
    return n > 0;
}

bool ProgramLibrary::DeleteCondition(int mkey) {
    DbTransaction tx(db_);
    const int n = db_.Exec("DELETE FROM MEPRDT WHERE MKEY = ?", {mkey}).numRowsAffected();
    tx.Commit();
    return n > 0;
}

std::vector<ProgramGroup> ProgramLibrary::Groups() {
    std::vector<ProgramGroup> groups;
    QSqlQuery q = db_.Exec("SELECT MKEY, ProGrp, ProName FROM MEProGP ORDER BY ProGrp, MKEY");
    while (q.next())
        groups.push_back({q.value(0).toInt(), ToStd(q.value(1)), ToStd(q.value(2))});
    return groups;
}

std::vector<ProgramForMatching> ProgramLibrary::ForMatching() {
    std::vector<ProgramForMatching> out;
    std::map<std::string, std::vector<std::size_t>> byNumber; // conditions join programs without letter case
    QSqlQuery q = db_.Exec("SELECT MKEY, ProNo, ProName FROM MEPRO ORDER BY ProNo, MKEY");
    while (q.next()) {
        ProgramForMatching p;
        p.MKey = q.value(0).toInt();
        p.ProNo = ToStd(q.value(1));
        p.ProName = ToStd(q.value(2));
        byNumber[QString::fromStdString(p.ProNo).toLower().toStdString()].push_back(out.size());
        out.push_back(std::move(p));
    }
    QSqlQuery c = db_.Exec(QString("SELECT %1 FROM MEPRDT ORDER BY MKEY").arg(kConditionColumns));
    while (c.next()) {
        const Condition row = ReadCondition(c);
        const auto it = byNumber.find(QString::fromStdString(row.ProNo).toLower().toStdString());
        if (it == byNumber.end())
            continue;
        ProgramCondition pc;
        pc.ProCond = row.ProCond;
        pc.ProAnd = row.ProAnd;
        pc.ProFlg = row.ProFlg;
        pc.ProEng = row.ProEng;
        pc.ProAGL = row.ProAGL;
        pc.ProAGH = row.ProAGH;
        // Every program with that number shows the condition, as the detail link does.
        for (std::size_t index : it->second)
            out[index].Conditions.push_back(pc);
    }
    return out;
}

} // namespace oruk
