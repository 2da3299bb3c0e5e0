#include "records/Records.h"

#include "analysis/OleDate.h"

#include <QDate>
#include <QLocale>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace oruk {

namespace {

const char* const kSubjectColumns =
    "CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, TEL3, EMAIL, MEMO, PREMEA, BType, "
    "Height, Weight, CustCat, CustFG, PrtFG";

QString MeasurementColumns() {
    QString cols = "MKEY, CUSTNO, MEDATE, MEVOTA";
    for (int i = 1; i <= kPointCount; ++i)
        cols += QString(", ME%1").arg(i);
    return cols + ", STD, MEMO1, MEMO2, AutoKey, PrtFG";
}

Subject ReadSubject(const QSqlQuery& q, int first) {
    Subject s;
    s.CustNo = ToStd(q.value(first + 0));
    s.Name = ToStd(q.value(first + 1));
    s.Male = q.value(first + 2).toInt() != 0;
    s.Birth = q.value(first + 3).toDouble();
    s.Addr = ToStd(q.value(first + 4));
    s.Tel = ToStd(q.value(first + 5));
    s.Tel2 = ToStd(q.value(first + 6));
    s.Tel3 = ToStd(q.value(first + 7));
    s.Email = ToStd(q.value(first + 8));
    s.Memo = ToStd(q.value(first + 9));
    s.Premea = q.value(first + 10).toDouble();
    s.BType = ToStd(q.value(first + 11));
    s.Height = q.value(first + 12).toDouble();
    s.Weight = q.value(first + 13).toDouble();
    s.CustCat = ToStd(q.value(first + 14));
    s.CustFG = ToStd(q.value(first + 15));
    s.PrtFG = q.value(first + 16).toInt() != 0;
    return s;
}

StoredMeasurement ReadMeasurement(const QSqlQuery& q) {
    StoredMeasurement m;
    m.MKey = q.value(0).toInt();
    m.CustNo = ToStd(q.value(1));
    m.MeDate = q.value(2).toDouble();
    m.HighVoltage = q.value(3).toInt() != 0;
    for (int i = 1; i <= kPointCount; ++i)
        m.Values[i] = q.value(3 + i).toDouble();
    m.Std = ToStd(q.value(28));
    m.Memo1 = ToStd(q.value(29));
    m.Memo2 = ToStd(q.value(30));
    m.AutoKey = ToStd(q.value(31));
    m.PrtFG = q.value(32).toInt() != 0;
    return m;
}

// Entry by hand carries no quality values: it never writes STD, so a changed measurement keeps
// the scores of its measuring run and a measurement added by hand has none.
QVariantList MeasurementValues(const MeasurementRecord& r, bool withStd) {
    QVariantList v{r.MeDate, r.HighVoltage ? 1 : 0};
    for (int i = 1; i <= kPointCount; ++i)
        v << r.Values[i];
    if (withStd)
        v << QString::fromStdString(FormatStd(r.Std));
    v << QString::fromStdString(JoinMemo(r.Memo));
    return v;
}

QString MeasurementSetList() {
    QString cols = "MEDATE = ?, MEVOTA = ?";
    for (int i = 1; i <= kPointCount; ++i)
        cols += QString(", ME%1 = ?").arg(i);
    return cols + ", MEMO1 = ?";
}

int Direction(int sortColumn) {
    return sortColumn > 0 ? 1 : -1;
}

double BirthdayValue(double birth) {
    return birth > 0 ? std::trunc(birth) : 0.0;
}

QDate DateOf(double days) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(days)));
}

std::string Format31(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3.1f", v);
    return buf;
}

std::optional<double> ParseUserDate(const std::string& text) {
    if (auto iso = ParseIsoDate(text))
        return std::floor(*iso);
    const QDate d = QLocale::system().toDate(QString::fromStdString(text), QLocale::ShortFormat);
    if (!d.isValid())
        return std::nullopt;
    return static_cast<double>(QDate(1899, 12, 30).daysTo(d));
}

// The upper bound of every text that begins with a prefix (the highest code point appended).
QString PrefixEnd(const QString& prefix) {
    return prefix + QString::fromUcs4(U"\U0010FFFF");
}

} // namespace

SubjectInfo Subject::Info() const {
    SubjectInfo i;
    i.CustNo = CustNo;
    i.Name = Name;
    i.Addr = Addr;
    i.Tel = Tel;
    i.Tel2 = Tel2;
    i.Tel3 = Tel3;
    i.Email = Email;
    i.Male = Male;
    i.Birth = Birth;
    return i;
}

MeasurementRecord StoredMeasurement::ToRecord() const {
    MeasurementRecord r;
    r.MeDate = MeDate;
    r.HighVoltage = HighVoltage;
    r.Values = Values;
    r.Std = ParseStd(Std);
    r.MKey = MKey;
    r.Memo = SplitMemo(Memo1);
    return r;
}

std::string TrimText(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::string ShortDateText(double days) {
    return QLocale::system().toString(DateOf(days), QLocale::ShortFormat).toStdString();
}

std::string TimeText(double days) {
    // Whole seconds of the day, counted down from the millisecond: a time just before midnight
    // stays 23:59:59 of its own day instead of rounding to 00:00:00 of the same date.
    const double fraction = days - std::floor(days);
    const long long ms = std::min(std::llround(fraction * 86400000.0), 86399999LL);
    const int seconds = static_cast<int>(ms / 1000);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

std::string FormatAge(double fromDays, double toDays) {
    return Format31((toDays - fromDays) / 365.0);
}

SubjectDisplay SubjectDisplayColumns(const Subject& s, int position, double now) {
    SubjectDisplay d;
    d.RENO = std::to_string(std::abs(position));
    d.Sex_S = s.Male ? "男" : "女";
    if (s.Birth > kNoBirthdayLimit) {
        d.DBIRTH_C = ShortDateText(s.Birth);
        d.MEAGE = FormatAge(s.Birth, now);
    }
    if (s.Premea > kNoBirthdayLimit)
        d.PREMEA_C = ShortDateText(s.Premea) + " " + TimeText(s.Premea);
    return d;
}

MeasurementDisplay MeasurementDisplayColumns(const StoredMeasurement& m, int position, double subjectBirth) {
    MeasurementDisplay d;
    d.STNO = std::to_string(std::abs(position));
    d.MEDATE_C = ShortDateText(m.MeDate);
    d.MEDATE_T = TimeText(m.MeDate);
    d.MEVOTA_C = m.HighVoltage ? "HI" : "NRM";
    if (subjectBirth > kNoBirthdayLimit)
        d.Mea_Age = FormatAge(subjectBirth, m.MeDate);
    double sum = 0;
    for (double v : m.Values)
        sum += v;
    d.Dta_Avg = Format31(sum / kPointCount);
    return d;
}

const char* SortField(int sortColumn) {
    static const char* const kFields[] = {"CustNo", "CustNo", "Name", "Sex",   "DBirth", "DBirth",
                                          "Premea", "Tel",    "Addr", "email", "Tel2",   "Tel3"};
    const int c = std::abs(sortColumn);
    return kFields[c >= 0 && c <= 11 ? c : 1];
}

std::string SortSql(int sortColumn) {
    std::string sql = std::string("select * from MeCust ORDER BY ") + SortField(sortColumn);
    if (sortColumn <= 0)
        sql += " DESC";
    return sql;
}

int SortColumnAfterHeaderClick(int sortColumn, int clickedColumn) {
    const int a = clickedColumn == 0 ? 1 : clickedColumn;
    if (a == std::abs(sortColumn))
        return sortColumn > 0 ? -a : a;
    return sortColumn <= 0 ? -a : a;
}

int SortColumnOnOpen(int sortColumn) {
    return sortColumn == 0 ? -1 : sortColumn;
}

SearchBoxState SearchBoxStateFor(int sortColumn, double now) {
    SearchBoxState st;
    const int c = std::abs(sortColumn) == 0 ? 1 : std::abs(sortColumn);
    st.enabled = !(c == 3 || c == 5 || c == 6);
    st.icon = st.enabled ? 1 : 0;
    if (c == 4) {
        st.showExample = true;
        st.example = "範例：" + ShortDateText(now - 5000);
    }
    return st;
}

std::string DuplicateSubjectMessage(const std::string& name) {
    return "您所輸入的受測者編號已經與姓名為\n[ " + TrimText(name) + " ]\n重覆!!請重新指定另一個編號。";
}

// ---- subject list

int Records::SubjectCount() {
    return db_.Scalar("SELECT count(*) FROM MECUST").toInt();
}

std::vector<Subject> Records::ListSubjects(int sortColumn, int offset, int limit) {
    const QString f = SortField(sortColumn);
    const QString dir = Direction(sortColumn) > 0 ? "" : " DESC";
    // The row id breaks ties in the same direction, so the order is one index walk.
    QSqlQuery q = db_.Exec(
        QString("SELECT %1 FROM MECUST ORDER BY %2%3, rowid%3 LIMIT ? OFFSET ?").arg(kSubjectColumns, f, dir),
        {limit, offset});
    std::vector<Subject> rows;
    while (q.next())
        rows.push_back(ReadSubject(q, 0));
    return rows;
}

std::optional<int> Records::PositionOfRow(int sortColumn, const QString& where, const QVariantList& params) {
    const QString f = SortField(sortColumn);
    const bool asc = Direction(sortColumn) > 0;
    const QString dir = asc ? "" : " DESC";
    QSqlQuery q = db_.Exec(
        QString("SELECT rowid, %1 FROM MECUST WHERE %2 ORDER BY %1%3, rowid%3 LIMIT 1").arg(f, where, dir),
        params);
    if (!q.next())
        return std::nullopt;
    const qint64 rowid = q.value(0).toLongLong();
    const QVariant value = q.value(1);
    q.finish();
    const QString before = asc ? "<" : ">";
    const int ahead =
        db_.Scalar(QString("SELECT count(*) FROM MECUST WHERE %1 %2 ?").arg(f, before), {value}).toInt();
    const int ties =
        db_.Scalar(QString("SELECT count(*) FROM MECUST WHERE %1 = ? AND rowid %2 ?").arg(f, before),
                   {value, rowid})
            .toInt();
    return ahead + ties;
}

std::optional<int> Records::PositionOfSubject(int sortColumn, const std::string& custNo) {
    return PositionOfRow(sortColumn, "CUSTNO = ?", {ToQ(TrimText(custNo))});
}

std::optional<int> Records::PositionOfNumberPrefix(int sortColumn, const std::string& prefix) {
    const QString p = ToQ(prefix);
    return PositionOfRow(sortColumn, "CUSTNO >= ? AND CUSTNO < ?", {p, PrefixEnd(p)});
}

std::optional<int> Records::Search(int sortColumn, const std::string& text) {
    const std::string t = TrimText(text);
    if (t.empty())
        return std::nullopt;
    const int c = std::abs(sortColumn) == 0 ? 1 : std::abs(sortColumn);
    if (c == 3 || c == 5 || c == 6)
        return std::nullopt;
    if (c == 4) {
        const auto day = ParseUserDate(t);
        if (!day)
            return std::nullopt;
        return PositionOfRow(sortColumn, "DBIRTH >= ? AND DBIRTH < ?", {*day, *day + 1});
    }
    const QString f = SortField(sortColumn);
    const QString p = ToQ(t);
    return PositionOfRow(sortColumn, f + " >= ? AND " + f + " < ?", {p, PrefixEnd(p)});
}

// ---- subjects

std::optional<Subject> Records::FindSubject(const std::string& custNo) {
    QSqlQuery q = db_.Exec(
        QString("SELECT %1 FROM MECUST WHERE CUSTNO = ? ORDER BY rowid LIMIT 1").arg(kSubjectColumns),
        {ToQ(TrimText(custNo))});
    if (!q.next())
        return std::nullopt;
    return ReadSubject(q, 0);
}

bool Records::SubjectExists(const std::string& custNo) {
    return db_.Scalar("SELECT count(*) FROM MECUST WHERE CUSTNO = ?", {ToQ(TrimText(custNo))}).toInt() > 0;
}

SubjectChangeResult Records::AddSubject(const Subject& s) {
    const std::string n = TrimText(s.CustNo);
    if (n.empty())
        return {SubjectChange::EmptyNumber, {}};
    DbTransaction tx(db_);
    if (auto other = FindSubject(n))
        return {SubjectChange::Duplicate, TrimText(other->Name)};
    db_.Exec(QString("INSERT INTO MECUST (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(kSubjectColumns),
             {ToQ(n), ToQ(TrimText(s.Name)), s.Male ? 1 : 0, BirthdayValue(s.Birth), ToQ(TrimText(s.Addr)),
              ToQ(TrimText(s.Tel)), ToQ(TrimText(s.Tel2)), ToQ(TrimText(s.Tel3)), ToQ(TrimText(s.Email)),
              ToQ(s.Memo), s.Premea, ToQ(s.BType), s.Height, s.Weight, ToQ(s.CustCat), ToQ(s.CustFG),
              s.PrtFG ? 1 : 0});
    tx.Commit();
    return {};
}

SubjectChangeResult Records::ChangeSubject(const std::string& oldNo, const Subject& s) {
    const std::string o = TrimText(oldNo);
    const std::string n = TrimText(s.CustNo);
    if (n.empty())
        return {SubjectChange::EmptyNumber, {}};
    DbTransaction tx(db_);
    const QVariant rowid =
        db_.Scalar("SELECT rowid FROM MECUST WHERE CUSTNO = ? ORDER BY rowid LIMIT 1", {ToQ(o)});
    if (!rowid.isValid())
        return {SubjectChange::NotFound, {}};
    const QVariantList fields{ToQ(TrimText(s.Name)), s.Male ? 1 : 0,         BirthdayValue(s.Birth),
                              ToQ(TrimText(s.Addr)), ToQ(TrimText(s.Tel)),   ToQ(TrimText(s.Tel2)),
                              ToQ(TrimText(s.Tel3)), ToQ(TrimText(s.Email)), ToQ(s.Memo)};
    const QString set =
        "NAME = ?, SEX = ?, DBIRTH = ?, ADDR = ?, TEL = ?, TEL2 = ?, TEL3 = ?, EMAIL = ?, MEMO = ?";
    if (n != o) {
        // A number differing only in letter case counts as taken, even by the subject itself.
        if (auto other = FindSubject(n))
            return {SubjectChange::Duplicate, TrimText(other->Name)};
        db_.Exec("UPDATE MECUST SET CUSTNO = ?, " + set + " WHERE rowid = ?",
                 QVariantList{ToQ(n)} + fields + QVariantList{rowid});
        db_.Exec("UPDATE MEDATA SET CUSTNO = ? WHERE CUSTNO = ?", {ToQ(n), ToQ(o)});
    } else {
        db_.Exec("UPDATE MECUST SET " + set + " WHERE rowid = ?", fields + QVariantList{rowid});
    }
    tx.Commit();
    return {};
}

int Records::DeleteSubject(const std::string& custNo) {
    const QString n = ToQ(TrimText(custNo));
    DbTransaction tx(db_);
    // One subject row goes, the one every other operation on this number works on: an import
    // may have brought in another subject with the same number, and that one stays.
    const QVariant rowid =
        db_.Scalar("SELECT rowid FROM MECUST WHERE CUSTNO = ? ORDER BY rowid LIMIT 1", {n});
    if (!rowid.isValid())
        return 0; // no subject, nothing removed
    const int measurements = db_.Exec("DELETE FROM MEDATA WHERE CUSTNO = ?", {n}).numRowsAffected();
    db_.Exec("DELETE FROM MECUST WHERE rowid = ?", {rowid});
    tx.Commit();
    return measurements + 1;
}

// ---- measurements

std::vector<StoredMeasurement> Records::MeasurementsOf(const std::string& custNo) {
    QSqlQuery q = db_.Exec("SELECT " + MeasurementColumns() +
                               " FROM MEDATA WHERE CUSTNO = ? ORDER BY MEDATE DESC, MKEY DESC",
                           {ToQ(TrimText(custNo))});
    std::vector<StoredMeasurement> rows;
    while (q.next())
        rows.push_back(ReadMeasurement(q));
    return rows;
}

int Records::MeasurementCount(const std::string& custNo) {
    return db_.Scalar("SELECT count(*) FROM MEDATA WHERE CUSTNO = ?", {ToQ(TrimText(custNo))}).toInt();
}

std::optional<StoredMeasurement> Records::FindMeasurement(int mkey) {
    QSqlQuery q = db_.Exec("SELECT " + MeasurementColumns() + " FROM MEDATA WHERE MKEY = ?", {mkey});
    if (!q.next())
        return std::nullopt;
    return ReadMeasurement(q);
}

int Records::InsertMeasurement(const std::string& custNo, const MeasurementRecord& record, bool withStd) {
    QString cols = "CUSTNO, MEDATE, MEVOTA", marks = "?, ?, ?";
    for (int i = 1; i <= kPointCount; ++i) {
        cols += QString(", ME%1").arg(i);
        marks += ", ?";
    }
    cols += withStd ? ", STD, MEMO1" : ", MEMO1";
    marks += withStd ? ", ?, ?" : ", ?";
    QSqlQuery q = db_.Exec("INSERT INTO MEDATA (" + cols + ") VALUES (" + marks + ")",
                           QVariantList{ToQ(TrimText(custNo))} + MeasurementValues(record, withStd));
    return q.lastInsertId().toInt();
}

void Records::SetLatestToNewest(const std::string& custNo) {
    const QString n = ToQ(TrimText(custNo));
    db_.Exec("UPDATE MECUST SET PREMEA = COALESCE((SELECT max(MEDATE) FROM MEDATA WHERE CUSTNO = ?), 0) "
             "WHERE CUSTNO = ?",
             {n, n});
}

std::optional<int> Records::SaveMeasurement(const std::string& custNo, const MeasurementRecord& record) {
    DbTransaction tx(db_);
    if (!SubjectExists(custNo))
        return std::nullopt;
    const int mkey = InsertMeasurement(custNo, record, true);
    db_.Exec("UPDATE MECUST SET PREMEA = ? WHERE CUSTNO = ? AND PREMEA < ?",
             {record.MeDate, ToQ(TrimText(custNo)), record.MeDate});
    tx.Commit();
    return mkey;
}

std::optional<int> Records::AddMeasurementByHand(const std::string& custNo, const MeasurementRecord& record) {
    DbTransaction tx(db_);
    if (!SubjectExists(custNo))
        return std::nullopt;
    const int mkey = InsertMeasurement(custNo, record, false);
    SetLatestToNewest(custNo);
    tx.Commit();
    return mkey;
}

bool Records::ChangeMeasurement(int mkey, const MeasurementRecord& record) {
    DbTransaction tx(db_);
    const auto row = FindMeasurement(mkey);
    if (!row)
        return false;
    db_.Exec("UPDATE MEDATA SET " + MeasurementSetList() + " WHERE MKEY = ?",
             MeasurementValues(record, false) + QVariantList{mkey});
    SetLatestToNewest(row->CustNo);
    tx.Commit();
    return true;
}

bool Records::DeleteMeasurement(int mkey) {
    DbTransaction tx(db_);
    const auto row = FindMeasurement(mkey);
    if (!row)
        return false;
    db_.Exec("DELETE FROM MEDATA WHERE MKEY = ?", {mkey});
    SetLatestToNewest(row->CustNo);
    tx.Commit();
    return true;
}

bool Records::WriteTreatmentMemo(int mkey, const std::vector<std::string>& lines) {
    DbTransaction tx(db_);
    const int n = db_.Exec("UPDATE MEDATA SET MEMO1 = ? WHERE MKEY = ?", {ToQ(JoinMemo(lines)), mkey})
                      .numRowsAffected();
    tx.Commit();
    return n > 0;
}

std::optional<Records::Loaded> Records::LoadMeasurement(int mkey) {
    const auto m = FindMeasurement(mkey);
    if (!m)
        return std::nullopt;
    Loaded loaded;
    loaded.record = m->ToRecord();
    if (const auto s = FindSubject(m->CustNo))
        loaded.subject = s->Info();
    else
        loaded.subject.CustNo = m->CustNo;
    return loaded;
}

std::string RecordCountText(int subjects, int measurements) {
    // Six places wide; a count of 0 still shows its digit (C's "%6.0d" would print only blanks).
    char a[32], b[32];
    std::snprintf(a, sizeof a, "%6d", subjects);
    std::snprintf(b, sizeof b, "%6d", measurements);
    return std::string(a) + "  -  [ " + TrimText(b) + " ]";
}

void LoadIntoSharedState(SharedState& state, const Records::Loaded& loaded) {
    state.subject = loaded.subject;
    state.current = loaded.record;
    state.AnalysisChartFlags.fill(1);
    state.AnalysisLastPage = 0;
    state.MeasuredPointCount = 0;
}

} // namespace oruk
