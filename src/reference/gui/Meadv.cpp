#include "reference/gui/Meadv.h"

#include "analysis/MeridianModel.h"
#include "app/gui/Look.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace oruk::gui {

namespace {

QPlainTextEdit* MakeMemo(QWidget* parent, const QString& name) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

TMeadv::TMeadv(MeridianReferenceSource source, const QString& legendFile, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("Meadv"));
    setWindowTitle(QStringLiteral("經絡圖示解說"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(24, 24));
    QAction* leave = bar->addAction(WorkstationIcon(QStringLiteral("exit")), QStringLiteral("  離  開  "));
    leave->setIconText(leave->text());
    leave->setToolTip(QStringLiteral("離開本系統"));
    connect(leave, &QAction::triggered, this, &QDialog::accept);
    LeaveButton = qobject_cast<QToolButton*>(bar->widgetForAction(leave));
    LeaveButton->setObjectName(QStringLiteral("LeaveButton"));

    // The meridian list.
    auto* listHead = new QLabel(QStringLiteral("經絡名稱"), this);
    QFont bold = listHead->font();
    bold.setBold(true);
    listHead->setFont(bold);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont listFont = ListBox1->font();
    listFont.setFamilies(QStringList{QStringLiteral("DejaVu Sans Mono")} + listFont.families());
    ListBox1->setFont(listFont);
    for (int i = 1; i <= kMeridianCount; ++i)
        ListBox1->addItem(QString::fromStdString(MeridianListLine(i)));
    ListBox1->setMinimumWidth(ListBox1->sizeHintForColumn(0) + 28);
    ListBox1->setMaximumWidth(ListBox1->sizeHintForColumn(0) + 40);
    listHead->setBuddy(ListBox1);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ChooseMeridian(row + 1);
    });
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(listHead);
    left->addWidget(ListBox1, 1);

    // The eight values; the five-element attribute shares the heavenly stem's row.
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    values->setVerticalSpacing(6);
    struct Spot {
        const char* label;
        int row, col;
    };
    const Spot spots[] = {{"表裡屬性:", 0, 0}, {"表裡經絡:", 1, 0}, {"天干屬性:", 2, 0}, {"五行屬性:", 2, 2},
                          {"子午流注:", 3, 0}, {"測 定 點:", 4, 0}, {"抑 制 點:", 5, 0}, {"興 奮 點:", 6, 0}};
    for (int i = 1; i <= 8; ++i) {
        const Spot& s = spots[i - 1];
        auto* label = new QLabel(QString::fromUtf8(s.label), this);
        auto* v = new QLabel(this);
        v->setObjectName(QStringLiteral("Value%1").arg(i));
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->setFrameShape(QFrame::StyledPanel);
        v->setMinimumWidth(i == 3 || i == 4 ? 90 : 220);
        v->setWordWrap(true);
        v->setStyleSheet(QStringLiteral("QLabel { background: palette(base); padding: 2px 6px; }"));
        Value[i] = v;
        values->addWidget(label, s.row, s.col, Qt::AlignRight | Qt::AlignVCenter);
        values->addWidget(v, s.row, s.col + 1, 1, (i == 3 || i == 4) ? 1 : 3);
    }
    values->setColumnStretch(1, 1);
    values->setColumnStretch(3, 1);

    // Five pages.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* diagramPage = new QWidget;
    DiagramArea = new QScrollArea(diagramPage);
    DiagramArea->setObjectName(QStringLiteral("ScrollBox1"));
    DiagramArea->setAlignment(Qt::AlignCenter);
    DiagramArea->setBackgroundRole(QPalette::Base);
    Diagram = new QLabel;
    Diagram->setObjectName(QStringLiteral("Image1"));
    Diagram->setAlignment(Qt::AlignCenter);
    DiagramArea->setWidget(Diagram);
    DiagramArea->setWidgetResizable(false);
    Legend = new QLabel(diagramPage);
    Legend->setObjectName(QStringLiteral("Image2"));
    Legend->setFixedSize(445, 20);
    // The installed legend picture; the built-in drawing when the working directory lacks it.
    QPixmap legend(legendFile);
    Legend->setPixmap(legend.isNull() ? WorkstationPicture(QStringLiteral("legend"), QSize(445, 20), this)
                                      : legend);
    Legend->setScaledContents(true);
    auto* legendBar = new QHBoxLayout;
    legendBar->addWidget(Legend);
    legendBar->addStretch();
    auto* dl = new QVBoxLayout(diagramPage);
    dl->setContentsMargins(6, 6, 6, 6);
    dl->addWidget(DiagramArea, 1);
    dl->addLayout(legendBar);
    PageControl1->addTab(diagramPage, QStringLiteral("經絡圖例"));

    const char* pageNames[] = {"經絡資料", "良導絡資料", "醫方資料", "養生資料"};
    for (int page = 2; page <= 5; ++page) {
        auto* w = new QWidget;
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(6, 6, 6, 6);
        l->setSpacing(6);
        const bool hasMiddle = page == 2;
        // Which state each box speaks of, so the reader need not guess from the position.
        const char* captions[6][4] = {{},
                                      {},
                                      {nullptr, "經絡概述", "能量偏高", "能量偏低"},
                                      {nullptr, "能量偏高", nullptr, "能量偏低"},
                                      {nullptr, "能量偏高", nullptr, "能量偏低"},
                                      {nullptr, "養生保健．能量偏高", nullptr, "能量偏低"}};
        for (int box = 1; box <= 3; ++box) {
            if (box == 2 && !hasMiddle)
                continue;
            auto* caption = new QLabel(QString::fromUtf8(captions[page][box]), w);
            caption->setStyleSheet(QStringLiteral("color: #1F4E79; font-weight: bold;"));
            QPlainTextEdit* m = MakeMemo(w, QStringLiteral("Memo%1_%2").arg(page).arg(box));
            caption->setBuddy(m);
            Memo[page][box] = m;
            l->addWidget(caption);
            l->addWidget(m, 1);
        }
        PageControl1->addTab(w, QString::fromUtf8(pageNames[page - 2]));
    }

    auto* right = new QVBoxLayout;
    right->setSpacing(10);
    right->addLayout(values);
    right->addWidget(PageControl1, 1);

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    body->addLayout(left);
    body->addLayout(right, 1);

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFrameShape(QFrame::StyledPanel);
    StatusBar1->setContentsMargins(6, 2, 6, 2);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 4, 8, 6);
    main->setSpacing(6);
    main->addWidget(bar);
    main->addLayout(body, 1);
    main->addWidget(StatusBar1);
    // Room for the diagram (560 x 660) beside the list, within the screen.
    QSize size(1180, 900);
    if (QScreen* s = screen())
        size = size.boundedTo(s->availableSize() * 0.95);
    resize(size);
}

void TMeadv::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    PageControl1->setCurrentIndex(0);
    StatusBar1->setText(QStringLiteral("請至 [經絡名稱] 欄中,點選需要查詢的經絡資料"));
    // The first meridian is shown, though no line of the list is highlighted yet.
    if (shown_ == 0) {
        ChooseMeridian(1);
        ListBox1->setFocus();
    }
}

void TMeadv::ChooseMeridian(int meridian) {
    if (!source_)
        return;
    std::optional<ReferenceTopic> row = source_(meridian);
    if (!row)
        return;
    shown_ = meridian;
    Fill(*row);
}

void TMeadv::Fill(const ReferenceTopic& row) {
    const std::string* values[] = {&row.DtEA[1], &row.DtEA[2],  &row.DtEA[3],  &row.DtEA[4],
                                   &row.DtEA[5], &row.DtPot[1], &row.DtPot[2], &row.DtPot[3]};
    for (int i = 1; i <= 8; ++i)
        Value[i]->setText(QString::fromStdString(*values[i - 1]));
    for (int page = 2; page <= 5; ++page) {
        const ExplanationPageTexts t = ExplanationPage(row, page);
        const std::optional<std::string>* boxes[] = {nullptr, &t.Upper, &t.Middle, &t.Lower};
        for (int box = 1; box <= 3; ++box)
            if (QPlainTextEdit* m = Memo[page][box]) {
                m->setPlainText(QString::fromStdString(boxes[box]->value_or(std::string())));
                m->moveCursor(QTextCursor::Start);
            }
    }
    QPixmap pm;
    if (!row.DtGpM.empty())
        pm.loadFromData(reinterpret_cast<const uchar*>(row.DtGpM.data()),
                        static_cast<uint>(row.DtGpM.size()));
    Diagram->setPixmap(pm);
    Diagram->resize(pm.isNull() ? QSize(1, 1) : pm.size() / pm.devicePixelRatio());
}

} // namespace oruk::gui
