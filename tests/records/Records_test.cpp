#include "RecordsFixture.h"
#include "records/Records.h"

#include <tuple>

namespace oruk::test {
namespace {

class RecordsTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        CreateTemplateFile(dir / "oruk6.mdb");
        db.Open(dir / "oruk6.mdb", DbMode::ReadWrite);
    }
    void TearDown() override {
        db.Close();
        TempDirTest::TearDown();
    }
    Subject Make(const std::string& no, const std::string& name, double birth = 0, bool male = true) {
        Subject s;
        s.CustNo = no;
        s.Name = name;
        s.Birth = birth;
        s.Male = male;
        return s;
    }
    MeasurementRecord Measurement(double date, double value = 50) {
        MeasurementRecord r;
        r.MeDate = date;
        r.Values.fill(value);
        return r;
    }
    std::vector<std::string> Numbers(int sortColumn) {
        std::vector<std::string> out;
        for (const auto& s : records.ListSubjects(sortColumn, 0, 100))
            out.push_back(s.CustNo);
        return out;
    }
    double Premea(const std::string& no) { return records.FindSubject(no)->Premea; }

    DbSession db;
    Records records{db};
};

TEST(SubjectListRules, HeaderClicksAndSortTexts) {
    // (sort column before, clicked column, sort column after)
    const std::tuple<int, int, int> clicks[] = {
        {1, 1, -1}, {-1, 1, 1}, {-1, 2, -2}, {2, 0, 1}, {-3, 0, -1}, {0, 4, -4}, {5, 5, -5},
    };
    for (const auto& [before, clicked, after] : clicks)
        EXPECT_EQ(SortColumnAfterHeaderClick(before, clicked), after) << before << " click " << clicked;
    EXPECT_EQ(SortColumnOnOpen(0), -1);
    EXPECT_EQ(SortSql(1), "select * from MeCust ORDER BY CustNo");
    EXPECT_EQ(SortSql(-5), "select * from MeCust ORDER BY DBirth DESC");
    EXPECT_EQ(SortSql(0), "select * from MeCust ORDER BY CustNo DESC");
    EXPECT_EQ(SortSql(6), "select * from MeCust ORDER BY Premea");
    EXPECT_EQ(SortSql(9), "select * from MeCust ORDER BY email");
    for (int c : {3, 5, 6, -6}) {
        EXPECT_FALSE(SearchBoxStateFor(c, 46000).enabled) << c;
        EXPECT_EQ(SearchBoxStateFor(c, 46000).icon, 0);
    }
    for (int c : {1, 2, 4, 7, 8, 9, 10, 11})
        EXPECT_TRUE(SearchBoxStateFor(c, 46000).enabled) << c;
    EXPECT_TRUE(SearchBoxStateFor(-4, 46000).showExample);
    EXPECT_EQ(SearchBoxStateFor(-4, 46000).example, "範例：" + ShortDateText(41000));
    EXPECT_FALSE(SearchBoxStateFor(2, 46000).showExample);
}

TEST(SubjectListRules, CalculatedColumns) {
    Subject s;
    s.Male = false;
    s.Birth = 4000; // counts as no birthday
    s.Premea = 46000.5;
    const auto none = SubjectDisplayColumns(s, -3, 46365);
    EXPECT_EQ(none.RENO, "3");
    EXPECT_EQ(none.Sex_S, "女");
    EXPECT_EQ(none.DBIRTH_C, "");
    EXPECT_EQ(none.MEAGE, "");
    EXPECT_EQ(none.PREMEA_C, ShortDateText(46000) + " 12:00:00");
    s.Birth = 4001;
    EXPECT_EQ(SubjectDisplayColumns(s, 1, 4001 + 365 * 20.25).MEAGE, "20.2");

    StoredMeasurement m;
    m.MeDate = 46000.75;
    m.HighVoltage = true;
    m.Values.fill(48);
    m.Values[3] = 0; // an unmeasured point still counts in the mean
    const auto md = MeasurementDisplayColumns(m, 2, 3000);
    EXPECT_EQ(md.Dta_Avg, "46.0");
    EXPECT_EQ(md.MEVOTA_C, "HI");
    EXPECT_EQ(md.MEDATE_T, "18:00:00");
    // Times show whole seconds; the last moments of a day stay on that day.
    for (const auto& [seconds, shown] : {std::pair{0.0, "00:00:00"}, std::pair{45296.0, "12:34:56"},
                                         std::pair{45296.7, "12:34:56"}, std::pair{86399.6, "23:59:59"}})
        EXPECT_EQ(TimeText(46000 + seconds / 86400.0), shown) << seconds;
    EXPECT_EQ(md.Mea_Age, "");
    EXPECT_EQ(MeasurementDisplayColumns(m, 2, 46000.75 - 3650).Mea_Age, "10.0");
}

TEST_F(RecordsTest, SubjectListSortsPositionsAndSearches) {
    ASSERT_EQ(records.AddSubject(Make("b7", "Chen", 20000)).outcome, SubjectChange::Done);
    ASSERT_EQ(records.AddSubject(Make("A12", "alpha", 30000, false)).outcome, SubjectChange::Done);
    ASSERT_EQ(records.AddSubject(Make("a100", "Alpha", 25000)).outcome, SubjectChange::Done);
    ASSERT_EQ(records.AddSubject(Make("C3", "Bea", 0)).outcome, SubjectChange::Done);
    EXPECT_EQ(records.SubjectCount(), 4);

    // Numbers sort without letter case; ties keep insertion order, reversed when descending.
    EXPECT_EQ(Numbers(1), (std::vector<std::string>{"a100", "A12", "b7", "C3"}));
    EXPECT_EQ(Numbers(-1), (std::vector<std::string>{"C3", "b7", "A12", "a100"}));
    EXPECT_EQ(Numbers(2), (std::vector<std::string>{"A12", "a100", "C3", "b7"}));
    EXPECT_EQ(Numbers(-2), (std::vector<std::string>{"b7", "C3", "a100", "A12"}));
    EXPECT_EQ(Numbers(5), (std::vector<std::string>{"C3", "b7", "a100", "A12"})); // age sorts by birthday
    EXPECT_EQ(records.ListSubjects(1, 2, 10).size(), 2u);

    // Positioning on a number ignores case; in every order the position is the row shown.
    for (int sort : {1, -1, 2, -2, 4, -4, 3, -7}) {
        const auto rows = Numbers(sort);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(records.PositionOfSubject(sort, rows[i]), static_cast<int>(i))
                << sort << " " << rows[i];
    }
    EXPECT_EQ(records.PositionOfSubject(1, "B7"), 2);
    EXPECT_FALSE(records.PositionOfSubject(1, "B"));
    EXPECT_EQ(records.PositionOfNumberPrefix(1, "b"), 2);

    // The search box finds the first row, in the current order, that begins with the text.
    EXPECT_EQ(records.Search(1, "A1"), 0);  // a100
    EXPECT_EQ(records.Search(-1, "A1"), 2); // A12 comes first when descending
    EXPECT_EQ(records.Search(2, " alp "), 0);
    EXPECT_EQ(records.Search(-2, "alp"), 2);
    EXPECT_FALSE(records.Search(1, "Z"));
    EXPECT_FALSE(records.Search(3, "男")); // sex, age and latest measurement cannot be searched
    EXPECT_FALSE(records.Search(5, "30"));
    // Birthday column: a date finds the birthday on that day; an invalid date finds nothing.
    EXPECT_EQ(records.Search(4, "1982-02-18"), 3); // day 30000: A12, last by birthday
    EXPECT_EQ(records.Search(-4, "1982-02-18"), 0);
    EXPECT_FALSE(records.Search(4, "1982-02-30"));
    EXPECT_FALSE(records.Search(4, "not a date"));
}

TEST_F(RecordsTest, NumbersAreUniqueWithoutLetterCaseAndQuotesAreData) {
    EXPECT_EQ(records.AddSubject(Make("O'Neil", "Quote")).outcome, SubjectChange::Done);
    EXPECT_EQ(records.AddSubject(Make("  ", "Blank")).outcome, SubjectChange::EmptyNumber);
    const auto dup = records.AddSubject(Make("o'neil ", "Other"));
    EXPECT_EQ(dup.outcome, SubjectChange::Duplicate);
    EXPECT_EQ(dup.duplicateName, "Quote");
    EXPECT_EQ(DuplicateSubjectMessage(" Quote "),
              "您所輸入的受測者編號已經與姓名為\n[ Quote ]\n重覆!!請重新指定另一個編號。");
    const auto mkey = records.SaveMeasurement("O'Neil", Measurement(46000));
    ASSERT_TRUE(mkey);
    EXPECT_EQ(records.MeasurementsOf("o'neil").size(), 1u);
    EXPECT_EQ(records.Search(1, "O'"), 0);
    // An appending import may bring another subject with the same number: deleting removes the
    // number's measurements and one subject, never the other person.
    db.Exec("INSERT INTO MECUST (CUSTNO, NAME) VALUES ('O''NEIL', 'Imported')");
    EXPECT_EQ(records.DeleteSubject("O'Neil"), 2);
    ASSERT_EQ(records.SubjectCount(), 1);
    EXPECT_EQ(records.FindSubject("o'neil")->Name, "Imported");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM MEDATA").toInt(), 0);
    EXPECT_EQ(records.DeleteSubject("O'Neil"), 1);
    EXPECT_EQ(records.DeleteSubject("O'Neil"), 0);
    EXPECT_EQ(records.SubjectCount(), 0);
}

TEST_F(RecordsTest, RenumberingMovesTheMeasurementsAndKeepsTheRest) {
    Subject s = Make("S1", "Lin", 30000);
    s.Memo = "allergic";
    records.AddSubject(s);
    records.AddSubject(Make("S2", "Wu"));
    records.SaveMeasurement("S1", Measurement(46000));
    records.SaveMeasurement("S1", Measurement(46002));

    Subject changed = *records.FindSubject("S1");
    changed.CustNo = "s2";
    EXPECT_EQ(records.ChangeSubject("S1", changed).outcome, SubjectChange::Duplicate);
    changed.CustNo = "s1"; // only the letter case of its own number: refused as well
    EXPECT_EQ(records.ChangeSubject("S1", changed).outcome, SubjectChange::Duplicate);
    changed.CustNo = "N9";
    changed.Name = " Lin Mei ";
    changed.Birth = 0; // birthday removed
    EXPECT_EQ(records.ChangeSubject("S1", changed).outcome, SubjectChange::Done);

    EXPECT_FALSE(records.FindSubject("S1"));
    const auto moved = records.FindSubject("N9");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Name, "Lin Mei");
    EXPECT_EQ(moved->Memo, "allergic");
    EXPECT_DOUBLE_EQ(moved->Birth, 0);
    EXPECT_DOUBLE_EQ(moved->Premea, 46002);
    EXPECT_EQ(records.MeasurementsOf("N9").size(), 2u);
    EXPECT_TRUE(records.MeasurementsOf("S1").empty());
    EXPECT_EQ(records.ChangeSubject("missing", changed).outcome, SubjectChange::NotFound);
}

TEST_F(RecordsTest, LatestMeasurementDateFollowsSavesChangesAndDeletes) {
    records.AddSubject(Make("P", "Pat"));
    const int newer = *records.SaveMeasurement("P", Measurement(46010.5));
    EXPECT_DOUBLE_EQ(Premea("P"), 46010.5);
    const int older = *records.SaveMeasurement("P", Measurement(46001)); // older: not lowered
    EXPECT_GT(older, newer);
    EXPECT_DOUBLE_EQ(Premea("P"), 46010.5);
    const auto list = records.MeasurementsOf("P");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].MKey, newer); // newest first

    // A change by hand sets the newest date, even when that lowers it.
    EXPECT_TRUE(records.ChangeMeasurement(newer, Measurement(46005)));
    EXPECT_DOUBLE_EQ(Premea("P"), 46005);
    const int added = *records.AddMeasurementByHand("P", Measurement(46020));
    EXPECT_DOUBLE_EQ(Premea("P"), 46020);

    EXPECT_TRUE(records.DeleteMeasurement(added));
    EXPECT_DOUBLE_EQ(Premea("P"), 46005);
    EXPECT_TRUE(records.DeleteMeasurement(newer));
    EXPECT_TRUE(records.DeleteMeasurement(older));
    EXPECT_DOUBLE_EQ(Premea("P"), 0);
    EXPECT_FALSE(records.DeleteMeasurement(older));

    // Saving under a number no subject has writes nothing.
    EXPECT_FALSE(records.SaveMeasurement("nobody", Measurement(46000)));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM MEDATA").toInt(), 0);
}

TEST_F(RecordsTest, StoredMeasurementRoundTrip) {
    records.AddSubject(Make("R", "Ray", 20000, false));
    MeasurementRecord r = Measurement(46000.4, 0);
    for (int i = 1; i <= 24; ++i)
        r.Values[i] = 10.25 * i;
    r.HighVoltage = true;
    const int zeros = *records.SaveMeasurement("R", r);
    std::string zeroStd;
    for (int i = 0; i < 24; ++i)
        zeroStd += "  0.0";
    EXPECT_EQ(records.FindMeasurement(zeros)->Std, zeroStd); // 120 characters
    r.Std[1] = 5.0;
    r.Std[2] = 12.3;
    r.Std[3] = 100.0;
    r.Memo = {"line one", "", "line three"};
    const int mkey = *records.SaveMeasurement("R", r);

    const auto loaded = records.LoadMeasurement(mkey);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->subject.CustNo, "R");
    EXPECT_FALSE(loaded->subject.Male);
    EXPECT_DOUBLE_EQ(loaded->subject.Birth, 20000);
    EXPECT_EQ(loaded->record.MKey, mkey);
    EXPECT_TRUE(loaded->record.HighVoltage);
    EXPECT_DOUBLE_EQ(loaded->record.MeDate, 46000.4);
    EXPECT_EQ(loaded->record.Values, r.Values);
    EXPECT_EQ(loaded->record.Std, r.Std);
    EXPECT_EQ(loaded->record.Memo, r.Memo);

    EXPECT_TRUE(records.WriteTreatmentMemo(mkey, {"treated"}));
    EXPECT_EQ(records.FindMeasurement(mkey)->Memo1, "treated");
    EXPECT_FALSE(records.WriteTreatmentMemo(999, {"x"}));

    // Entry by hand has no quality values: a change keeps the stored STD, an addition stores none.
    const std::string savedStd = records.FindMeasurement(mkey)->Std;
    MeasurementRecord typed = Measurement(46001, 33);
    EXPECT_TRUE(records.ChangeMeasurement(mkey, typed));
    EXPECT_EQ(records.FindMeasurement(mkey)->Std, savedStd);
    EXPECT_EQ(records.FindMeasurement(mkey)->Values, typed.Values);
    EXPECT_EQ(records.FindMeasurement(*records.AddMeasurementByHand("R", typed))->Std, "");

    SharedState state;
    state.AnalysisLastPage = 3;
    state.AnalysisChartFlags[2] = 0;
    state.MeasuredPointCount = 24;
    LoadIntoSharedState(state, *loaded);
    EXPECT_EQ(state.subject.CustNo, "R");
    EXPECT_EQ(state.current.MKey, mkey);
    EXPECT_EQ(state.AnalysisLastPage, 0);
    EXPECT_EQ(state.AnalysisChartFlags[2], 1);
    EXPECT_EQ(state.MeasuredPointCount, 0);
    EXPECT_EQ(RecordCountText(12, 3), "    12  -  [ 3 ]");
    EXPECT_EQ(RecordCountText(0, 0), "     0  -  [ 0 ]"); // an empty list counts 0, not blanks

    // An empty STD loads as 24 zeros.
    db.Exec("UPDATE MEDATA SET STD = '' WHERE MKEY = ?", {mkey});
    EXPECT_EQ(records.LoadMeasurement(mkey)->record.Std, PointValues{});
}

} // namespace
} // namespace oruk::test
