#include "GuiFixture.h"
#include "app/SettingsFile.h"
#include "app/gui/AboutBox.h"
#include "app/gui/Look.h"
#include "app/gui/MeCust.h"
#include "app/gui/MeMsag.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace oruk;
using namespace oruk::gui;
using oruk::test::App;
using oruk::test::OnNextModal;

TEST(MessageDialogTest, TypeGivesCaptionPictureAndButtons) {
    App();
    struct Case {
        int type;
        const char* caption;
        int picture; // 1 question, 2 caution, 3 important
        bool asks;
    };
    const Case cases[] = {{1, "詢問資訊", 1, true},  {2, "注意", 2, true},  {3, "重要資訊", 3, true},
                          {4, "詢問資訊", 1, false}, {5, "注意", 2, false}, {6, "重要資訊", 3, false}};
    for (const auto& c : cases) {
        TMeMsag dlg(c.type, QStringLiteral("第一行\n第二行"));
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.caption)) << c.type;
        QLabel* pictures[] = {dlg.Image1, dlg.Image2, dlg.Image3};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pictures[i]->isVisible(), i + 1 == c.picture) << c.type << " picture " << i + 1;
        EXPECT_EQ(dlg.Button1->isVisible(), c.asks) << c.type;
        EXPECT_EQ(dlg.Button2->isVisible(), c.asks) << c.type;
        EXPECT_EQ(dlg.Button3->isVisible(), !c.asks) << c.type;
        EXPECT_EQ(dlg.Button1->text(), QStringLiteral("是"));
        EXPECT_EQ(dlg.Button2->text(), QStringLiteral("否"));
        EXPECT_EQ(dlg.Button3->text(), QStringLiteral("確  定"));
        EXPECT_TRUE((c.asks ? dlg.Button1 : dlg.Button3)->hasFocus() || !dlg.isActiveWindow()) << c.type;
        EXPECT_EQ(dlg.Memo1->toPlainText(), QStringLiteral("第一行\n第二行"));
        EXPECT_TRUE(dlg.Memo1->isReadOnly());
        dlg.hide();
    }
}

TEST(MessageDialogTest, ButtonsSetTheResult) {
    App();
    struct Case {
        int type;
        const char* button; // object name, or "" to close by the system menu / Escape
        bool result;
    };
    const Case cases[] = {{2, "Button1", true}, {2, "Button2", false}, {6, "Button3", true}, {1, "", false}};
    for (const auto& c : cases) {
        const std::string name = c.button;
        auto seen = OnNextModal<TMeMsag>([name](TMeMsag* d) {
            if (name.empty())
                d->reject();
            else
                d->findChild<QPushButton*>(QString::fromStdString(name))->click();
        });
        EXPECT_EQ(ShowMsg(nullptr, c.type, QStringLiteral("?")), c.result) << c.type << " " << name;
        EXPECT_TRUE(*seen);
    }
}

TEST(FadeTest, AlphaFallsFromFullToNothing) {
    struct Case {
        qint64 elapsed;
        int duration;
        int alpha;
    };
    // round((start + duration - now) / duration * 255)
    const Case cases[] = {{0, 300, 255}, {150, 300, 128}, {100, 300, 170}, {299, 300, 1},
                          {300, 300, 0}, {900, 300, 0},   {250, 500, 128}, {100, 400, 191}};
    for (const auto& c : cases)
        EXPECT_EQ(qRound(FadeOpacity(c.elapsed, c.duration) * 255), c.alpha)
            << c.elapsed << "/" << c.duration;
}

TEST(AboutBoxTest, CounterShowsTheLocalesThousandsSeparator) {
    struct Case {
        long long count;
        QLocale locale;
        const char* text;
    };
    const Case cases[] = {
        {1234567, QLocale(QLocale::English, QLocale::UnitedStates), "[ 1,234,567 ]"},
        {1234567, QLocale(QLocale::German, QLocale::Germany), "[ 1.234.567 ]"},
        {1234567, QLocale::c(), "[ 1,234,567 ]"},
        {258, QLocale(QLocale::English, QLocale::UnitedStates), "[      258 ]"},
        {12345, QLocale(QLocale::Chinese, QLocale::Taiwan), "[   12,345 ]"},
        {0, QLocale::c(), "[        0 ]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatUsageCounter(c.count, c.locale), QString::fromUtf8(c.text)) << c.count;
}

class UserSettingsTest : public oruk::test::WorkDirTest {};

TEST_F(UserSettingsTest, ShowsTheSettingsAndSavesTrimmedFunctions) {
    SharedState state;
    state.settings.UserFuncVisible = "101000";
    state.settings.UserFuncProgram[2] = "vlc";
    TMeCust dlg(state);
    dlg.PageControl1->setCurrentIndex(1);
    dlg.show();
    EXPECT_EQ(dlg.PageControl1->currentIndex(), 0); // the first page whenever shown
    EXPECT_EQ(dlg.Edit[1]->text(), QStringLiteral("ORUK經絡能量分析系統"));
    EXPECT_EQ(dlg.Edit[4]->text(), QStringLiteral("ORUK 經絡能量分析報表"));
    EXPECT_EQ(dlg.Edit[2]->text(), QStringLiteral("素凡事業有限公司"));
    EXPECT_EQ(dlg.Edit[3]->text(), QStringLiteral("自然醫學研究中心"));
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(dlg.CheckBox[k]->isChecked(), k == 1 || k == 3) << k;
    EXPECT_EQ(dlg.Edit[12]->text(), QStringLiteral("vlc"));
    EXPECT_EQ(dlg.Edit[12]->toolTip(), QStringLiteral("vlc")); // hint = text
    EXPECT_EQ(dlg.Edit[5]->text(), QStringLiteral("連結素凡全球資訊網"));

    dlg.Edit[12]->setText(QStringLiteral("  /opt/player/bin/play  "));
    EXPECT_EQ(dlg.Edit[12]->toolTip(), QStringLiteral("  /opt/player/bin/play  ")); // typing updates the hint
    dlg.Edit[18]->setText(QStringLiteral(" song.mp3 "));
    dlg.Edit[6]->setText(QStringLiteral(" 播放 "));
    dlg.Edit[1]->setText(QStringLiteral("  診所  "));
    dlg.CheckBox[1]->setChecked(false);
    dlg.CheckBox[6]->setChecked(true);
    bool saved = false;
    QObject::connect(&dlg, &TMeCust::saved, [&] { saved = true; });
    dlg.SaveButton->click();
    EXPECT_TRUE(saved);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(state.settings.UserFuncVisible, "001001");
    EXPECT_EQ(state.settings.UserFuncProgram[2], "/opt/player/bin/play");
    EXPECT_EQ(state.settings.UserFuncParams[2], "song.mp3");
    EXPECT_EQ(state.settings.UserFuncHint[2], "播放");
    EXPECT_EQ(state.settings.SystemTitle, "  診所  "); // titles keep their blanks
}

TEST_F(UserSettingsTest, LeaveDiscardsAndTestLaunchesTheTrimmedRow) {
    SharedState state;
    TMeCust dlg(state);
    std::vector<std::pair<std::string, std::string>> launched;
    dlg.SetLauncher([&](const std::string& p, const std::string& a) { launched.emplace_back(p, a); });
    dlg.show();
    dlg.Edit[11]->setText(QStringLiteral("   "));
    dlg.Edit[17]->setText(QStringLiteral("  https://example.org/  "));
    dlg.SpeedButton[7]->click(); // test button of row 1
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (std::pair<std::string, std::string>{"", "https://example.org/"}));
    dlg.Edit[1]->setText(QStringLiteral("changed"));
    dlg.LeaveButton->click();
    EXPECT_EQ(state.settings.SystemTitle, "ORUK經絡能量分析系統");
    EXPECT_EQ(state.settings.UserFuncParams[1], Settings().UserFuncParams[1]);
}

TEST(UserSettingsDialogTest, ControlsCarryTheirNamesAndHints) {
    App();
    SharedState state;
    TMeCust dlg(state);
    for (int k = 1; k <= 6; ++k) {
        auto* check = dlg.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(k));
        ASSERT_TRUE(check);
        EXPECT_EQ(check->text(), QStringLiteral("程式 %1").arg(k));
        EXPECT_EQ(dlg.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(k))->toolTip(),
                  QStringLiteral("設定執行程式或功能"));
        EXPECT_EQ(dlg.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(12 + k))->toolTip(),
                  QStringLiteral("設定參數或外部檔案"));
        EXPECT_EQ(dlg.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(6 + k))->toolTip(),
                  QStringLiteral("連結功能測試"));
    }
    for (int n = 1; n <= 22; ++n)
        EXPECT_TRUE(dlg.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n))) << n;
    EXPECT_EQ(dlg.PageControl1->tabText(0), QStringLiteral("用戶資料"));
    EXPECT_EQ(dlg.PageControl1->tabText(1), QStringLiteral("外掛功能"));
    EXPECT_EQ(dlg.SaveButton->text(), QStringLiteral("儲存資料  "));
    EXPECT_EQ(dlg.LeaveButton->text(), QStringLiteral("   離  開   "));
}
