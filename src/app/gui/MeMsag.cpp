#include "app/gui/MeMsag.h"

#include "app/gui/Look.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace oruk::gui {

QString TMeMsag::CaptionFor(int msgType) {
    switch (msgType) {
    case 1:
    case 4:
        return QStringLiteral("詢問資訊");
    case 2:
    case 5:
        return QStringLiteral("注意");
    case 3:
    case 6:
        return QStringLiteral("重要資訊");
    default:
        return {};
    }
}

TMeMsag::TMeMsag(int msgType, const QString& msgText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MeMsag"));
    setWindowTitle(CaptionFor(msgType));
    // Dialog border with the system menu only: no minimise, maximise or help buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    auto* pictures = new QVBoxLayout;
    const QString names[] = {QStringLiteral("question"), QStringLiteral("caution"),
                             QStringLiteral("important")};
    QLabel** images[] = {&Image1, &Image2, &Image3};
    for (int i = 0; i < 3; ++i) {
        auto* img = new QLabel(this);
        img->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        img->setPixmap(WorkstationPicture(names[i], QSize(56, 56), this));
        img->setFixedSize(60, 60);
        img->setAlignment(Qt::AlignCenter);
        img->hide();
        pictures->addWidget(img);
        *images[i] = img;
    }
    pictures->addStretch();

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->clear();
    Memo1->appendPlainText(msgText);
    Memo1->setFrameShape(QFrame::NoFrame);
    // Reads as the dialog's text, not as an input box.
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    QFont memoFont = Memo1->font();
    memoFont.setPointSizeF(memoFont.pointSizeF() * 1.1);
    Memo1->setFont(memoFont);
    Memo1->setMinimumSize(300, 70);
    Memo1->setFocusPolicy(Qt::NoFocus);

    Button1 = new QPushButton(QStringLiteral("是"), this);
    Button2 = new QPushButton(QStringLiteral("否"), this);
    Button3 = new QPushButton(QStringLiteral("確  定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3->setObjectName(QStringLiteral("Button3"));
    for (auto* b : {Button1, Button2, Button3}) {
        b->setMinimumWidth(96);
        b->setAutoDefault(false);
        b->hide();
    }
    connect(Button1, &QPushButton::clicked, this, [this] {
        msgResult_ = true;
        accept();
    });
    connect(Button3, &QPushButton::clicked, this, [this] {
        msgResult_ = true;
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        msgResult_ = false;
        reject();
    });

    const bool ask = msgType >= 1 && msgType <= 3;
    const int picture = (msgType - 1) % 3; // 1/4 question, 2/5 caution, 3/6 important
    if (msgType >= 1 && msgType <= 6)
        (*images[picture])->show();
    QPushButton* first = ask ? Button1 : Button3;
    if (ask) {
        Button1->show();
        Button2->show();
    } else {
        Button3->show();
    }
    first->setDefault(true);
    first->setFocus();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addLayout(pictures);
    top->addWidget(Memo1, 1);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(18, 18, 18, 14);
    main->setSpacing(14);
    main->addLayout(top, 1);
    main->addLayout(buttons);

    // The dialog repaints itself while open (keeps it fresh over busy windows).
    repaint_ = new QTimer(this);
    repaint_->setInterval(100);
    connect(repaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    resize(QSize(440, 150).expandedTo(minimumSizeHint()));
}

void TMeMsag::showEvent(QShowEvent* e) {
    msgResult_ = false;
    closing_ = false;
    setWindowOpacity(1.0);
    repaint_->start();
    if (QScreen* s = screen()) // centred on the screen
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
    (Button1->isVisible() ? Button1 : Button3)->setFocus();
}

void TMeMsag::done(int r) {
    if (closing_)
        return;
    closing_ = true;
    repaint_->stop();
    FadeOut(this, kFadeMs);
    // The next use starts clean.
    for (QWidget* w :
         {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2), static_cast<QWidget*>(Image3),
          static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button3)})
        w->hide();
    QDialog::done(r);
}

bool ShowMsg(QWidget* parent, int msgType, const QString& msgText) {
    TMeMsag dlg(msgType, msgText, parent);
    dlg.exec();
    return dlg.MsgResult();
}

} // namespace oruk::gui
