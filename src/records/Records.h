#pragma once

#include "analysis/MeasurementRecord.h"
#include "app/SharedState.h"
#include "records/DbSession.h"

#include <optional>
#include <string>
#include <vector>

namespace oruk {

// One MECUST row.
struct Subject {
    std::string CustNo, Name, Addr, Tel, Tel2, Tel3, Email, Memo;
    bool Male = true;
    double Birth = 0;  // DBIRTH, 0 = none
    double Premea = 0; // latest measurement
    // Carried with the row; no window shows them.
    std::string BType, CustCat, CustFG;
    double Height = 0, Weight = 0;
    bool PrtFG = false;

    SubjectInfo Info() const;
};

// One MEDATA row.
struct StoredMeasurement {
    int MKey = 0;
    std::string CustNo;
    double MeDate = 0;
    bool HighVoltage = false;
    PointValues Values{};
    std::string Std; // the stored STD text
    std::string Memo1, Memo2, AutoKey;
    bool PrtFG = false;

    MeasurementRecord ToRecord() const; // STD parsed, memo split into lines
};

// The calculated columns of the subject and measurement lists, computed one way for every list.
inline constexpr double kNoBirthdayLimit = 4000; // a birthday of 4000 days or less counts as none
struct SubjectDisplay {
    std::string RENO, Sex_S, DBIRTH_C, MEAGE, PREMEA_C;
};
struct MeasurementDisplay {
    std::string STNO, MEDATE_C, MEDATE_T, MEVOTA_C, Mea_Age, Dta_Avg;
};
// position: 1-based row number in the list; now: days. Dates use the system's short formats.
SubjectDisplay SubjectDisplayColumns(const Subject& s, int position, double now);
MeasurementDisplay MeasurementDisplayColumns(const StoredMeasurement& m, int position, double subjectBirth);
std::string FormatAge(double fromDays, double toDays); // "%3.1f" of the difference / 365
std::string ShortDateText(double days);
std::string TimeText(double days);

// The subject list's sort column: |c| is the grid column 1..11, 0 or negative = descending.
const char* SortField(int sortColumn); // "CustNo", "Name", ... (column 0 counts as 1)
std::string SortSql(int sortColumn);   // "select * from MeCust ORDER BY <field>[ DESC]"
int SortColumnAfterHeaderClick(int sortColumn, int clickedColumn);
int SortColumnOnOpen(int sortColumn); // 0 becomes -1

// Search-box state for a sort column.
struct SearchBoxState {
    bool enabled = false; // false: box and button disabled, drawn silver
    int icon = 0;         // 0 not available, 1 ready, 2 found, 3 not found
    bool showExample = false;
    std::string example; // "範例：" + the date 5000 days before now
};
SearchBoxState SearchBoxStateFor(int sortColumn, double now);

// A subject number as the windows take it: trimmed; the editor allows at most 15 characters.
std::string TrimText(const std::string& s);
inline constexpr int kCustNoMaxLength = 15;

enum class SubjectChange { Done, Duplicate, NotFound, EmptyNumber };
struct SubjectChangeResult {
    SubjectChange outcome = SubjectChange::Done;
    std::string duplicateName; // the name of the subject that already has the number
};
// "您所輸入的受測者編號已經與姓名為\n[ name ]\n重覆!!請重新指定另一個編號。"
std::string DuplicateSubjectMessage(const std::string& name);

// "資料總筆數:" count text: subjects six places wide, then "  -  [ " + measurements trimmed + " ]".
std::string RecordCountText(int subjects, int measurements);

// The records service the windows call; all work goes through one session on the main database.
class Records {
public:
    explicit Records(DbSession& main) : db_(main) {}

    // Subject list.
    int SubjectCount();
    // Rows [offset, offset + limit) in the order of the sort column.
    std::vector<Subject> ListSubjects(int sortColumn, int offset, int limit);
    // 0-based row of the subject with this number (exact, letter case ignored) in that order.
    std::optional<int> PositionOfSubject(int sortColumn, const std::string& custNo);
    // Positioning by partial key: the first row whose number begins with the text.
    std::optional<int> PositionOfNumberPrefix(int sortColumn, const std::string& prefix);
    // The search box: the first row, in the list's order, whose sort field begins with the text
    // (birthday column: the text is a date, the birthday on that day). Sex, age and latest
    // measurement columns cannot be searched.
    std::optional<int> Search(int sortColumn, const std::string& text);

    std::optional<Subject> FindSubject(const std::string& custNo); // exact, letter case ignored
    SubjectChangeResult AddSubject(const Subject& s);
    // Writes every shown field of the subject numbered oldNo; a new number moves its measurements
    // in the same transaction. PREMEA and the carried columns stay.
    SubjectChangeResult ChangeSubject(const std::string& oldNo, const Subject& s);
    // The subject and every measurement of it, in one transaction. Returns the rows removed.
    int DeleteSubject(const std::string& custNo);

    // Measurements.
    std::vector<StoredMeasurement> MeasurementsOf(const std::string& custNo); // newest first
    int MeasurementCount(const std::string& custNo);
    std::optional<StoredMeasurement> FindMeasurement(int mkey);
    // Appends the measurement under the subject, raising PREMEA only when newer; one transaction.
    // Returns the new MKEY; nullopt (nothing written) when no subject has that number.
    std::optional<int> SaveMeasurement(const std::string& custNo, const MeasurementRecord& record);
    // Manual entry: add to a subject, or change one stored measurement; PREMEA becomes the newest.
    // Neither writes STD (the record's scores are ignored): a change keeps the stored ones.
    std::optional<int> AddMeasurementByHand(const std::string& custNo, const MeasurementRecord& record);
    bool ChangeMeasurement(int mkey, const MeasurementRecord& record);
    // Deletes one measurement; PREMEA becomes the newest remaining MEDATE, 0 when none is left.
    bool DeleteMeasurement(int mkey);
    // The treatment record of a stored measurement (MEMO1).
    bool WriteTreatmentMemo(int mkey, const std::vector<std::string>& lines);

    // Loading a record: the subject and the measurement as the shared state holds them.
    struct Loaded {
        SubjectInfo subject;
        MeasurementRecord record;
    };
    std::optional<Loaded> LoadMeasurement(int mkey);

    DbSession& Session() { return db_; }

private:
    void SetLatestToNewest(const std::string& custNo);
    int InsertMeasurement(const std::string& custNo, const MeasurementRecord& record, bool withStd);
    bool SubjectExists(const std::string& custNo);
    std::optional<int> PositionOfRow(int sortColumn, const QString& where, const QVariantList& params);
    DbSession& db_;
};

// Loading a record: the subject and measurement become current, the analysis window starts on its
// first page with every chart chosen, and no point counts as freshly measured.
void LoadIntoSharedState(SharedState& state, const Records::Loaded& loaded);

} // namespace oruk
