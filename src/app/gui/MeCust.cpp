#include "app/gui/MeCust.h"

#include "app/Launcher.h"
#include "app/gui/Look.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace oruk::gui {

namespace {

QString Trim(const QString& s) {
    return s.trimmed();
}

} // namespace

// Programs on Linux carry no extension; the filters keep the choice among things that run.
QString TMeCust::ProgramFilter() {
    return QStringLiteral("All (*)");
}
QString TMeCust::ParameterFilter() {
    return QStringLiteral("All Files (*)");
}

TMeCust::TMeCust(SharedState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("MeCust"));
    setWindowTitle(QStringLiteral("用戶基本資料設定"));
    launch_ = [](const std::string& p, const std::string& a) { LaunchProgram(p, a); };

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(24, 24));
    QAction* save = bar->addAction(WorkstationIcon(QStringLiteral("save")), QStringLiteral("儲存資料  "));
    save->setIconText(save->text());
    save->setToolTip(QStringLiteral("儲存用戶基本資料"));
    save->setShortcut(QKeySequence::Save);
    QAction* leave = bar->addAction(WorkstationIcon(QStringLiteral("exit")), QStringLiteral("   離  開   "));
    leave->setIconText(leave->text());
    leave->setToolTip(QStringLiteral("離開基本資料異動系統"));
    SaveButton = qobject_cast<QToolButton*>(bar->widgetForAction(save));
    LeaveButton = qobject_cast<QToolButton*>(bar->widgetForAction(leave));
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    LeaveButton->setObjectName(QStringLiteral("LeaveButton"));
    connect(save, &QAction::triggered, this, &TMeCust::Save);
    connect(leave, &QAction::triggered, this, &QDialog::reject);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Page 1: the titles.
    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheet1"));
    auto* g1 = new QGridLayout(page1);
    g1->setContentsMargins(20, 20, 20, 20);
    g1->setHorizontalSpacing(10);
    g1->setVerticalSpacing(14);
    struct Row {
        int edit;
        const char* label;
        const char* note;
    };
    const Row rows[] = {{1, "用戶名稱1:", "(本資料將顯示在螢幕主畫面底部)"},
                        {4, "用戶名稱2:", "(本資料將列印在報表抬頭的第一行)"},
                        {2, "用戶資料1:", "(本資料將在列印報表時顯示在第二行) "},
                        {3, "用戶資料2:", "(本資料將在列印報表時顯示在第三行)"}};
    int r = 0;
    for (const auto& row : rows) {
        auto* e = new QLineEdit(page1);
        e->setObjectName(QStringLiteral("Edit%1").arg(row.edit));
        e->setMinimumWidth(320);
        Edit[row.edit] = e;
        auto* label = new QLabel(QString::fromUtf8(row.label), page1);
        label->setBuddy(e);
        auto* note = new QLabel(QString::fromUtf8(row.note), page1);
        note->setStyleSheet(QStringLiteral("color: #555;"));
        g1->addWidget(label, r, 0, Qt::AlignRight);
        g1->addWidget(e, r, 1);
        g1->addWidget(note, r, 2);
        ++r;
    }
    g1->setColumnStretch(1, 1);
    g1->setRowStretch(r, 1);
    PageControl1->addTab(page1, QStringLiteral("用戶資料"));
    PageControl1->setTabToolTip(0, QStringLiteral("用戶基本資料設定"));

    // Page 2: the six user functions.
    auto* page2 = new QWidget;
    page2->setObjectName(QStringLiteral("TabSheet2"));
    auto* g2 = new QGridLayout(page2);
    g2->setContentsMargins(16, 16, 16, 16);
    g2->setHorizontalSpacing(6);
    g2->setVerticalSpacing(8);
    const char* heads[] = {"說明", "執行功能程式", "參數與檔案", "測試"};
    const int headCols[] = {1, 2, 4, 6};
    for (int i = 0; i < 4; ++i) {
        auto* h = new QLabel(QString::fromUtf8(heads[i]), page2);
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        g2->addWidget(h, 0, headCols[i], i == 3 ? Qt::AlignHCenter : Qt::AlignLeft);
    }
    for (int k = 1; k <= 6; ++k) {
        auto* check = new QCheckBox(QStringLiteral("程式 %1").arg(k), page2);
        check->setObjectName(QStringLiteral("CheckBox%1").arg(k));
        CheckBox[k] = check;
        auto makeEdit = [&](int n, int minWidth) {
            auto* e = new QLineEdit(page2);
            e->setObjectName(QStringLiteral("Edit%1").arg(n));
            e->setMinimumWidth(minWidth);
            // The hint follows the text, so a long path can be read in full.
            connect(e, &QLineEdit::textChanged, e, [e](const QString& t) { e->setToolTip(t); });
            Edit[n] = e;
            return e;
        };
        auto makeButton = [&](int n, const QString& icon, const QString& hint) {
            auto* b = new QToolButton(page2);
            b->setObjectName(QStringLiteral("SpeedButton%1").arg(n));
            b->setIcon(WorkstationIcon(icon));
            b->setToolTip(hint);
            b->setAutoRaise(false);
            b->setFocusPolicy(Qt::StrongFocus);
            SpeedButton[n] = b;
            return b;
        };
        QLineEdit* hint = makeEdit(4 + k, 160);
        QLineEdit* program = makeEdit(10 + k, 220);
        QLineEdit* params = makeEdit(16 + k, 220);
        QToolButton* browseProgram =
            makeButton(k, QStringLiteral("browse"), QStringLiteral("設定執行程式或功能"));
        QToolButton* browseParams =
            makeButton(12 + k, QStringLiteral("browse"), QStringLiteral("設定參數或外部檔案"));
        QToolButton* test = makeButton(6 + k, QStringLiteral("test"), QStringLiteral("連結功能測試"));
        connect(browseProgram, &QToolButton::clicked, this, [this, k] { BrowseProgram(k); });
        connect(browseParams, &QToolButton::clicked, this, [this, k] { BrowseParameter(k); });
        connect(test, &QToolButton::clicked, this, [this, k] { TestRow(k); });
        g2->addWidget(check, k, 0);
        g2->addWidget(hint, k, 1);
        g2->addWidget(program, k, 2);
        g2->addWidget(browseProgram, k, 3);
        g2->addWidget(params, k, 4);
        g2->addWidget(browseParams, k, 5);
        g2->addWidget(test, k, 6, Qt::AlignHCenter);
    }
    g2->setColumnStretch(1, 2);
    g2->setColumnStretch(2, 3);
    g2->setColumnStretch(4, 3);
    g2->setRowStretch(7, 1);
    PageControl1->addTab(page2, QStringLiteral("外掛功能"));
    PageControl1->setTabToolTip(1, QStringLiteral("系統外掛執行程式設定"));

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 4, 8, 8);
    main->setSpacing(6);
    main->addWidget(bar);
    main->addWidget(PageControl1, 1);
    resize(980, 460);
    Fill();
}

void TMeCust::Fill() {
    const Settings& s = state_.settings;
    Edit[1]->setText(QString::fromStdString(s.SystemTitle));
    Edit[4]->setText(QString::fromStdString(s.ReportTitle));
    Edit[2]->setText(QString::fromStdString(s.OrgName));
    Edit[3]->setText(QString::fromStdString(s.OrgUnit));
    for (int k = 1; k <= 6; ++k) {
        const auto idx = static_cast<std::size_t>(k - 1);
        CheckBox[k]->setChecked(idx < s.UserFuncVisible.size() && s.UserFuncVisible[idx] == '1');
        Edit[4 + k]->setText(QString::fromStdString(s.UserFuncHint[k]));
        Edit[10 + k]->setText(QString::fromStdString(s.UserFuncProgram[k]));
        Edit[16 + k]->setText(QString::fromStdString(s.UserFuncParams[k]));
        for (int n : {4 + k, 10 + k, 16 + k})
            Edit[n]->setToolTip(Edit[n]->text());
    }
}

void TMeCust::showEvent(QShowEvent* e) {
    PageControl1->setCurrentIndex(0);
    QDialog::showEvent(e);
    Edit[1]->setFocus();
}

void TMeCust::Save() {
    Settings& s = state_.settings;
    // Titles keep their blanks; programs, parameters and hints are trimmed.
    s.SystemTitle = Edit[1]->text().toStdString();
    s.ReportTitle = Edit[4]->text().toStdString();
    s.OrgName = Edit[2]->text().toStdString();
    s.OrgUnit = Edit[3]->text().toStdString();
    std::string visible;
    for (int k = 1; k <= 6; ++k) {
        visible += CheckBox[k]->isChecked() ? '1' : '0';
        s.UserFuncHint[k] = Trim(Edit[4 + k]->text()).toStdString();
        s.UserFuncProgram[k] = Trim(Edit[10 + k]->text()).toStdString();
        s.UserFuncParams[k] = Trim(Edit[16 + k]->text()).toStdString();
    }
    s.UserFuncVisible = visible;
    emit saved();
    accept();
}

void TMeCust::TestRow(int k) {
    launch_(Trim(Edit[10 + k]->text()).toStdString(), Trim(Edit[16 + k]->text()).toStdString());
}

void TMeCust::BrowseProgram(int k) {
    QFileDialog dlg(this, QStringLiteral("設定執行程式或功能"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(ProgramFilter());
    // Only files that can be run, and folders to walk through.
    dlg.setFilter(QDir::Executable | QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot);
    const QString current = Trim(Edit[10 + k]->text());
    dlg.setDirectory(current.contains(QLatin1Char('/')) ? QFileInfo(current).absolutePath()
                                                        : QStringLiteral("/usr/bin"));
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
        Edit[10 + k]->setText(dlg.selectedFiles().first());
}

void TMeCust::BrowseParameter(int k) {
    QFileDialog dlg(this, QStringLiteral("設定參數或外部檔案"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(ParameterFilter());
    dlg.setDirectory(QDir::homePath());
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
        Edit[16 + k]->setText(dlg.selectedFiles().first());
}

} // namespace oruk::gui
