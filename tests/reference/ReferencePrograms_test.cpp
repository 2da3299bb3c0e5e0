// The reference treatment programs: well-formed conditions, stored as written, and each matching the
// analysis it is written for and no balanced one.

#include "ReferenceData.h"
#include "analysis/Analysis.h"
#include "analysis/OleDate.h"
#include "programs/ProgramMatching.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace oruk {
namespace {

using testing::DataFile;
using testing::ReadOnlyDb;
using testing::ReadSourceJson;

QJsonArray SourcePrograms() {
    return ReadSourceJson("programs.json").value("programs").toArray();
}

// Highest option digit each position of ProCond may carry (the program editor writes no other).
int MaxOption(int position) {
    if (position == 1)
        return 6; // 1-3 weak/excited/both, 4-6 energy = > <
    if (position == 3 || position == 5)
        return 1; // "異常" only
    if (position == 24)
        return 2; // male / female
    return 3;
}

TEST(ReferencePrograms, SourceProgramsAreCompleteAndTheirMasksValid) {
    const QJsonArray programs = SourcePrograms();
    EXPECT_GE(programs.size(), 20);
    std::set<QString> numbers, names;
    const char* texts[] = {"ProData", "ProMed1", "ProMed2", "ProMed3", "ProHel1",
                           "ProHel2", "ProHel3", "ProHel4", "ProHel5"};
    for (const auto& pv : programs) {
        const QJsonObject p = pv.toObject();
        const QString no = p.value("ProNo").toString(), name = p.value("ProName").toString();
        SCOPED_TRACE(no.toStdString());
        EXPECT_TRUE(!no.isEmpty() && no.size() <= 12);
        EXPECT_TRUE(!name.isEmpty() && name.size() <= 24) << name.toStdString();
        EXPECT_TRUE(numbers.insert(no.toLower()).second) << "program number twice";
        // The analysis window finds a reference program again by its name.
        EXPECT_TRUE(names.insert(name).second) << "name twice: " << name.toStdString();
        for (const char* t : texts)
            EXPECT_FALSE(p.value(t).toString().trimmed().isEmpty()) << t;

        const QJsonArray conditions = p.value("conditions").toArray();
        EXPECT_FALSE(conditions.isEmpty()) << "a program without conditions never matches";
        for (const auto& cv : conditions) {
            const QJsonObject c = cv.toObject();
            EXPECT_LE(c.value("ProSubN").toString().size(), 24);
            EXPECT_LE(c.value("ProNote").toString().size(), 50);
            const QString cond = c.value("ProCond").toString(), items = c.value("ProAnd").toString();
            ASSERT_EQ(cond.size(), 24) << cond.toStdString();
            ASSERT_EQ(items.size(), 24) << items.toStdString();
            bool any = false;
            for (int pos = 1; pos <= 24; ++pos) {
                const int option = cond[pos - 1].digitValue();
                const QChar item = items[pos - 1];
                EXPECT_TRUE(option >= 0 && option <= MaxOption(pos)) << "ProCond position " << pos;
                EXPECT_TRUE(item == '0' || (item == '1' && pos <= 22)) << "ProAnd position " << pos;
                any = any || option > 0 || item == '1';
            }
            EXPECT_TRUE(any) << "an empty condition never holds";
            if (cond[0].digitValue() >= 4) {
                EXPECT_GT(c.value("ProEng").toDouble(), 0);
            }
            if (cond[22].digitValue() == 3) {
                EXPECT_LE(c.value("ProAGL").toInt(), c.value("ProAGH").toInt());
            }
        }
    }
}

// The programs as the analysis window reads them: from the generated database, in MeProB order.
std::vector<ProgramForMatching> StoredPrograms() {
    ReadOnlyDb db(DataFile("orukMTW.mdb"));
    std::vector<ProgramForMatching> programs;
    {
        QSqlQuery p(db.Db());
        EXPECT_TRUE(p.exec("SELECT MKEY, ProNo, ProName FROM MEPRO ORDER BY ProNo"));
        while (p.next())
            programs.push_back({p.value(0).toInt(),
                                p.value(1).toString().toStdString(),
                                p.value(2).toString().toStdString(),
                                {}});
        for (ProgramForMatching& program : programs) {
            QSqlQuery c(db.Db());
            c.prepare("SELECT ProCond, ProAnd, ProFlg, ProEng, ProAGL, ProAGH FROM MEPRDT WHERE ProNo = ? "
                      "ORDER BY MKEY");
            c.addBindValue(QString::fromStdString(program.ProNo));
            EXPECT_TRUE(c.exec());
            while (c.next())
                program.Conditions.push_back({c.value(0).toString().toStdString(),
                                              c.value(1).toString().toStdString(), c.value(2).toBool(),
                                              c.value(3).toDouble(), c.value(4).toDouble(),
                                              c.value(5).toDouble()});
        }
    }
    return programs;
}

TEST(ReferenceProgramDatabase, HoldsEveryProgramWithItsConditions) {
    const QJsonArray source = SourcePrograms();
    const auto stored = StoredPrograms();
    ASSERT_EQ(stored.size(), static_cast<std::size_t>(source.size()));
    for (const auto& pv : source) {
        const QJsonObject p = pv.toObject();
        const auto it = std::find_if(stored.begin(), stored.end(), [&](const ProgramForMatching& s) {
            return s.ProNo == p.value("ProNo").toString().toStdString();
        });
        ASSERT_NE(it, stored.end()) << p.value("ProNo").toString().toStdString();
        EXPECT_EQ(it->ProName, p.value("ProName").toString().toStdString());
        const QJsonArray conditions = p.value("conditions").toArray();
        ASSERT_EQ(it->Conditions.size(), static_cast<std::size_t>(conditions.size()));
        for (int i = 0; i < conditions.size(); ++i) {
            EXPECT_EQ(it->Conditions[i].ProCond,
                      conditions[i].toObject().value("ProCond").toString().toStdString());
            EXPECT_EQ(it->Conditions[i].ProAnd,
                      conditions[i].toObject().value("ProAnd").toString().toStdString());
        }
    }
}

// Meridian numbers in MeridianTable order.
enum M { LU = 1, PC, HT, SI, TE, LI, SP, LR, KI, BL, GB, ST };

using Overrides = std::vector<std::pair<int, double>>; // point index, value

Overrides BothSides(std::initializer_list<std::pair<int, double>> meridians) {
    Overrides o;
    for (const auto& [m, v] : meridians) {
        o.emplace_back(LeftPointOf(m), v);
        o.emplace_back(RightPointOf(m), v);
    }
    return o;
}

template <class Pred> Overrides PointsWhere(Pred pred, double v) {
    Overrides o;
    for (int i = 1; i <= kPointCount; ++i)
        if (pred(i))
            o.emplace_back(i, v);
    return o;
}

struct Written {
    const char* proNo;
    double base;
    Overrides points;
    bool male = true;
    int age = 40;
};

// One measurement per program showing the pattern it is written for (all other points at base).
std::vector<Written> WrittenFor() {
    const auto hand = [](int i) { return i <= 12; };
    const auto left = [](int i) { return SideOfPoint(i) == Side::Left; };
    const auto yin = [](int i) { return IsYinMeridian(MeridianOfPoint(i)); };
    const auto yang = [](int i) { return !IsYinMeridian(MeridianOfPoint(i)); };
    const Overrides autonomic{{1, 70}, {2, 70}, {3, 70}, {19, 25}, {20, 25}, {21, 25}}; // group 1 high, 7 low
    return {
        {"R01", 40, BothSides({{LR, 60}})},
        {"R02", 40, BothSides({{LR, 20}})},
        {"R03", 40, BothSides({{LR, 60}, {GB, 60}})},
        {"R04", 40, BothSides({{GB, 60}})},
        {"R05", 40, BothSides({{HT, 60}})},
        {"R06", 40, BothSides({{HT, 20}})},
        {"R07", 40, BothSides({{HT, 60}, {KI, 20}})},
        {"R08", 40, BothSides({{LU, 20}})},
        {"R09", 40, BothSides({{LU, 70}})},
        {"R10", 40, BothSides({{LI, 70}})},
        {"R11", 40, BothSides({{SP, 20}})},
        {"R12", 40, BothSides({{SP, 20}, {ST, 20}})},
        {"R13", 40, BothSides({{ST, 60}})},
        {"R14", 40, BothSides({{LR, 60}, {SP, 20}})},
        {"R15", 40, BothSides({{KI, 20}})},
        {"R16", 40, BothSides({{BL, 60}})},
        {"R17", 40, BothSides({{TE, 70}})},
        {"R18", 15, {}},
        {"R19", 85, {}},
        {"R20", 35, PointsWhere(hand, 55)},
        {"R21", 50, PointsWhere(hand, 30)},
        {"R22", 35, PointsWhere(left, 55)},
        {"R23", 35, PointsWhere(yin, 55)},
        {"R24", 35, PointsWhere(yang, 55)},
        {"R25", 40, autonomic},
        {"R26", 40, autonomic, false, 50},
        {"R27", 40, BothSides({{LR, 66}, {GB, 66}, {HT, 66}, {PC, 66}, {SI, 66}, {TE, 66}})},
        {"R28", 40, BothSides({{KI, 20}}), true, 65},
    };
}

const double kToday = ToOleDate({2026, 6, 1});

MatchSubject Subject(bool male, int age) {
    return {male, ToOleDate({2026 - age, 3, 1}), kToday};
}

// Every coefficient 1.0, so the values written are the values graded.
DisplayTables UnitCoefficients() {
    return BuildDisplayTables(0, DefaultDisplayTables().MeridianOrder, 1, {});
}

std::vector<std::string> Matches(const std::vector<ProgramForMatching>& programs, PointValues values,
                                 bool male, int age, const DisplayTables& tables) {
    MeasurementRecord record;
    record.MeDate = kToday;
    record.Values = values;
    const AnalysisResult result = Analyse(record, male, Subject(male, age).Birth, tables);
    std::vector<std::string> names;
    for (const ProgramMatch& m : MatchPrograms(programs, result, Subject(male, age)))
        names.push_back(m.ProName);
    return names;
}

TEST(ReferenceProgramDatabase, EveryProgramMatchesTheAnalysisItIsWrittenFor) {
    const auto programs = StoredPrograms();
    const auto cases = WrittenFor();
    ASSERT_EQ(cases.size(), programs.size()) << "every reference program needs its measurement here";
    for (const Written& w : cases) {
        const auto program = std::find_if(programs.begin(), programs.end(),
                                          [&](const ProgramForMatching& p) { return p.ProNo == w.proNo; });
        ASSERT_NE(program, programs.end()) << w.proNo;
        PointValues values;
        values.fill(w.base);
        for (const auto& [point, v] : w.points)
            values[point] = v;
        const auto names = Matches(programs, values, w.male, w.age, UnitCoefficients());
        EXPECT_NE(std::find(names.begin(), names.end(), program->ProName), names.end())
            << w.proNo << " " << program->ProName << " does not match its own pattern";
    }
}

// A balanced measurement (every graded value equal) suggests nothing, whatever the level, sex or age.
TEST(ReferenceProgramDatabase, NoProgramMatchesABalancedMeasurement) {
    const auto programs = StoredPrograms();
    const DisplayTables defaults = DefaultDisplayTables();
    for (double level : {30.0, 40.0, 50.0, 60.0})
        for (bool male : {true, false})
            for (int age : {30, 50, 70}) {
                SCOPED_TRACE("level " + std::to_string(level) + (male ? " male" : " female") + " age " +
                             std::to_string(age));
                PointValues equal;
                equal.fill(level);
                EXPECT_EQ(Matches(programs, equal, male, age, UnitCoefficients()),
                          std::vector<std::string>{});
                // With the default coefficients: raw values that compensate to the same level.
                PointValues compensatedEqual;
                for (int i = 1; i <= kPointCount; ++i)
                    compensatedEqual[i] = level / defaults.MeridianCoefficient[MeridianOfPoint(i)];
                EXPECT_EQ(Matches(programs, compensatedEqual, male, age, defaults),
                          std::vector<std::string>{});
            }
}

} // namespace
} // namespace oruk
