// The reference texts: complete for all 17 topics, consistent with the meridian model, and stored
// enciphered in the generated reference-text database.

#include "ReferenceData.h"
#include "analysis/MeridianModel.h"
#include "app/TextCipher.h"

#include <QImage>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace oruk {
namespace {

using testing::DataFile;
using testing::ReadOnlyDb;
using testing::ReadSourceJson;

const std::vector<QString> kMeridianColumns{"DtEA1",  "DtEA2", "DtEA3", "DtEA4", "DtEA5", "DtPot1", "DtPot2",
                                            "DtPot3", "DtMA1", "DtMA2", "DtMA3", "DtMH1", "DtMH2",  "DtMH3",
                                            "DtMH4",  "DtMH5", "DtML1", "DtML2", "DtML3", "DtML4",  "DtML5"};
const std::vector<QString> kTopicColumns{"DtMA1", "DtMA2", "DtMH1", "DtML1"};

const std::vector<QString>& ColumnsOf(int mkey) {
    return mkey <= kMeridianCount ? kMeridianColumns : kTopicColumns;
}

std::map<int, QJsonObject> SourceRows() {
    std::map<int, QJsonObject> rows;
    for (const auto& v : ReadSourceJson("texts.json").value("rows").toArray()) {
        const QJsonObject row = v.toObject();
        EXPECT_TRUE(rows.emplace(row.value("MKEY").toInt(), row).second)
            << "MKEY twice: " << row.value("MKEY").toInt();
    }
    return rows;
}

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

TEST(ReferenceTexts, SourceHasTopicsOneToSeventeenWithEveryColumnWritten) {
    const auto rows = SourceRows();
    std::set<int> keys;
    for (const auto& [key, row] : rows)
        keys.insert(key);
    std::set<int> expected;
    for (int k = 1; k <= 17; ++k)
        expected.insert(k);
    EXPECT_EQ(keys, expected);

    for (const auto& [key, row] : rows) {
        for (const QString& column : ColumnsOf(key)) {
            SCOPED_TRACE("MKEY " + std::to_string(key) + " " + column.toStdString());
            EXPECT_FALSE(row.value(column).toString().trimmed().isEmpty());
        }
        if (key <= kMeridianCount) {
            EXPECT_EQ(row.value("DtGpM").toString(), Q(MeridianTable()[key].Code) + ".png");
        }
    }
}

// The attributes must describe the meridian of their row: a text filed under the wrong MKEY would
// show the lung's points for the heart.
TEST(ReferenceTexts, AttributesMatchTheMeridianOfTheirRow) {
    const auto rows = SourceRows();
    // Interior-exterior partner of each meridian (MeridianTable order).
    const int partner[] = {0, 6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7};
    for (int m = 1; m <= kMeridianCount; ++m) {
        SCOPED_TRACE(std::string(MeridianTable()[m].Code));
        const QJsonObject row = rows.at(m);
        const QString source = Q(MeridianTable()[m].SourcePoint); // e.g. "太淵 LU9"
        EXPECT_TRUE(row.value("DtPot1").toString().contains(source.section(' ', 1)))
            << row.value("DtPot1").toString().toStdString();
        EXPECT_TRUE(row.value("DtEA1").toString().startsWith(IsYinMeridian(m) ? "裡" : "表"));
        EXPECT_TRUE(row.value("DtEA2").toString().contains(Q(MeridianTable()[partner[m]].Channel)))
            << row.value("DtEA2").toString().toStdString();
        // Sedation and tonification points lie on the meridian itself.
        for (const char* column : {"DtPot2", "DtPot3"})
            EXPECT_TRUE(row.value(column).toString().contains(Q(MeridianTable()[m].Code)))
                << row.value(column).toString().toStdString();
        // Hours "3am-5am" appear as "03:00 - 05:00".
        const QString hours = Q(MeridianTable()[m].Hours);
        auto clock = [](QString h) {
            const bool pm = h.endsWith("pm");
            int hour = h.chopped(2).toInt() % 12 + (pm ? 12 : 0);
            return QString("%1:00").arg(hour, 2, 10, QChar('0'));
        };
        const QString expected = clock(hours.section('-', 0, 0)) + " - " + clock(hours.section('-', 1, 1));
        EXPECT_TRUE(row.value("DtEA5").toString().contains(expected))
            << row.value("DtEA5").toString().toStdString() << " vs " << expected.toStdString();
    }
}

struct StoredRow {
    std::map<QString, QString> text; // deciphered
    std::map<QString, QString> raw;
    QByteArray picture;
};

std::map<int, StoredRow> StoredRows() {
    ReadOnlyDb db(DataFile("orukTW.mdb"));
    std::map<int, StoredRow> rows;
    {
        QSqlQuery q(db.Db());
        EXPECT_TRUE(q.exec("SELECT * FROM MEMTDB"));
        while (q.next()) {
            StoredRow row;
            const int key = q.value("MKEY").toInt();
            for (const QString& c : kMeridianColumns) {
                const QString raw = q.value(c).toString();
                const auto plain = DecipherText(raw.toStdString(), CipherKey::Texts);
                EXPECT_TRUE(plain.has_value())
                    << "MKEY " << key << " " << c.toStdString() << " is not cipher text";
                row.raw[c] = raw;
                row.text[c] = QString::fromStdString(plain.value_or(""));
            }
            row.picture = q.value("DtGpM").toByteArray();
            rows[key] = std::move(row);
        }
    }
    return rows;
}

TEST(ReferenceTextDatabase, HoldsEverySourceTextEncipheredAndTheDiagrams) {
    const auto source = SourceRows();
    const auto stored = StoredRows();
    ASSERT_EQ(stored.size(), source.size());
    for (const auto& [key, row] : source) {
        ASSERT_TRUE(stored.count(key)) << "MKEY " << key;
        const StoredRow& s = stored.at(key);
        for (const QString& c : ColumnsOf(key)) {
            SCOPED_TRACE("MKEY " + std::to_string(key) + " " + c.toStdString());
            EXPECT_EQ(s.text.at(c), row.value(c).toString());
            EXPECT_NE(s.raw.at(c), row.value(c).toString()); // stored enciphered, not plain
        }
        if (key <= kMeridianCount) {
            const QImage diagram = QImage::fromData(s.picture);
            EXPECT_FALSE(diagram.isNull()) << "diagram of MKEY " << key;
            EXPECT_GE(diagram.width(), 400);
        }
    }
}

// What the analysis window puts into its panes for a meridian in the excess or deficiency state,
// and for the five index topics in each grade direction.
TEST(ReferenceTextDatabase, TextsShownForEveryMeridianAndStateAreNotEmpty) {
    const auto stored = StoredRows();
    struct Pane {
        const char* name;
        std::vector<QString> excess, deficiency;
    };
    const std::vector<Pane> panes{
        {"findings", {"DtMA2", "DtMA1", "DtMH1"}, {"DtMA2", "DtMA1", "DtML1"}},
        {"ryodoraku", {"DtMH5"}, {"DtML5"}},
        {"prescription", {"DtMH3", "DtMH2"}, {"DtML3", "DtML2"}},
        {"diet", {"DtMA3", "DtMH4"}, {"DtMA3", "DtML4"}},
    };
    for (int m = 1; m <= kMeridianCount; ++m) {
        ASSERT_TRUE(stored.count(m));
        for (const Pane& pane : panes)
            for (const auto* state : {&pane.excess, &pane.deficiency})
                for (const QString& c : *state) {
                    SCOPED_TRACE(std::string(MeridianTable()[m].Code) + " " + pane.name + " " +
                                 c.toStdString());
                    EXPECT_FALSE(stored.at(m).text.at(c).trimmed().isEmpty());
                }
    }
    for (int topic = 13; topic <= 17; ++topic) {
        ASSERT_TRUE(stored.count(topic));
        for (const QString& c : kTopicColumns) // description, then normal / raised / lowered
            EXPECT_FALSE(stored.at(topic).text.at(c).trimmed().isEmpty()) << topic << " " << c.toStdString();
    }
}

} // namespace
} // namespace oruk
