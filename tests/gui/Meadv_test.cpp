#include "GuiFixture.h"
#include "records/ReferenceTexts.h"
#include "reference/MeridianReference.h"
#include "reference/gui/Meadv.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace oruk;
using namespace oruk::gui;

TEST(MeridianListTest, LinesAreNumberedInTwoColumns) {
    EXPECT_EQ(MeridianListLine(1), " 1. 手太陰  肺經");
    EXPECT_EQ(MeridianListLine(10), "10. 足太陽  膀胱");
}

class ExplanationTest : public oruk::test::WorkDirTest {
protected:
    void SetUp() override {
        WorkDirTest::SetUp();
        InstallBase();
        AddMeridianRow(1);
        AddMeridianRow(2, "DtMH3"); // an empty text column
        texts = std::make_unique<DbSession>(dir / dbfiles::Texts, DbMode::ReadOnly);
    }
    void TearDown() override {
        texts.reset();
        WorkDirTest::TearDown();
    }
    MeridianReferenceSource Source() {
        return [this](int mkey) { return ReadReferenceTopic(*texts, mkey); };
    }
    std::unique_ptr<DbSession> texts;
};

TEST_F(ExplanationTest, ShowingFillsTheFirstMeridianWithDecipheredTexts) {
    TMeadv w(Source(), QString());
    w.PageControl1->setCurrentIndex(3);
    w.show();
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    ASSERT_EQ(w.ListBox1->count(), 12);
    EXPECT_EQ(w.ListBox1->item(0)->text(), QStringLiteral(" 1. 手太陰  肺經"));
    EXPECT_TRUE(w.ListBox1->selectedItems().isEmpty()); // no line highlighted yet
    EXPECT_EQ(w.StatusBar1->text(), QStringLiteral("請至 [經絡名稱] 欄中,點選需要查詢的經絡資料"));
    const char* values[] = {"DtEA1", "DtEA2", "DtEA3", "DtEA4", "DtEA5", "DtPot1", "DtPot2", "DtPot3"};
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(w.Value[i]->text().toStdString(), std::string(values[i - 1]) + " of 1") << i;
    EXPECT_EQ(w.Memo[2][1]->toPlainText(), QStringLiteral("DtMA1 of 1"));
    EXPECT_EQ(w.Memo[2][2]->toPlainText(), QStringLiteral("DtMH1 of 1"));
    EXPECT_EQ(w.Memo[2][3]->toPlainText(), QStringLiteral("DtML1 of 1"));
    EXPECT_EQ(w.Memo[3][1]->toPlainText(), QStringLiteral("DtMH5 of 1"));
    EXPECT_EQ(w.Memo[3][3]->toPlainText(), QStringLiteral("DtML5 of 1"));
    EXPECT_EQ(w.Memo[4][1]->toPlainText(), QStringLiteral("DtMH3 of 1\n\nDtMH2 of 1"));
    EXPECT_EQ(w.Memo[4][3]->toPlainText(), QStringLiteral("DtML3 of 1\n\nDtML2 of 1"));
    EXPECT_EQ(w.Memo[5][1]->toPlainText(), QStringLiteral("DtMA3 of 1\n\nDtMH4 of 1"));
    EXPECT_EQ(w.Memo[5][3]->toPlainText(), QStringLiteral("DtML4 of 1"));
    for (int page = 3; page <= 5; ++page)
        EXPECT_EQ(w.Memo[page][2], nullptr) << page; // only the data page has a middle box
    EXPECT_TRUE(w.Memo[2][1]->isReadOnly());
    EXPECT_EQ(w.Legend->size(), QSize(445, 20));
}

TEST_F(ExplanationTest, ChoosingAMeridianAndAMissingRow) {
    TMeadv w(Source(), QString());
    w.show();
    w.ListBox1->setCurrentRow(1); // meridian 2
    EXPECT_EQ(w.ShownMeridian(), 2);
    EXPECT_EQ(w.Value[1]->text(), QStringLiteral("DtEA1 of 2"));
    EXPECT_EQ(w.Memo[4][1]->toPlainText(), QStringLiteral("\n\nDtMH2 of 2")); // empty column, empty line kept
    w.ListBox1->setCurrentRow(6); // meridian 7 has no row: the texts of 2 stay
    EXPECT_EQ(w.ShownMeridian(), 2);
    EXPECT_EQ(w.Value[1]->text(), QStringLiteral("DtEA1 of 2"));
}

TEST_F(ExplanationTest, UndecipherableTextReadsEmpty) {
    {
        DbSession rw(dir / dbfiles::Texts, DbMode::ReadWrite);
        rw.Exec(QStringLiteral("UPDATE MEMTDB SET DtEA1 = 'not cipher' WHERE MKEY = 1"));
    }
    auto row = ReadReferenceTopic(*texts, 1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->DtEA[1], "");
    EXPECT_EQ(row->DtEA[2], "DtEA2 of 1");
    EXPECT_FALSE(ReadReferenceTopic(*texts, 12));
}

TEST_F(ExplanationTest, ShowsTheStoredDiagramAndNoneWhereThereIsNone) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    {
        DbSession rw(dir / dbfiles::Texts, DbMode::ReadWrite);
        rw.Exec(QStringLiteral("UPDATE MEMTDB SET DtGpM = ? WHERE MKEY = 2"), {png});
    }
    TMeadv w(Source(), QString());
    w.show();
    EXPECT_TRUE(w.Diagram->pixmap().isNull()); // meridian 1 has no diagram
    w.ListBox1->setCurrentRow(1);
    ASSERT_FALSE(w.Diagram->pixmap().isNull());
    EXPECT_EQ(w.Diagram->pixmap().size(), QSize(40, 30));
    EXPECT_EQ(w.Diagram->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
}
