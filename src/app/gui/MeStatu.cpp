#include "app/gui/MeStatu.h"

#include "app/gui/Lamp.h"
#include "app/gui/Look.h"
#include "app/gui/MeMsag.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace oruk::gui {

namespace {

const QColor kGreen(0x2E, 0xCC, 0x40);
const QColor kYellow(0xFF, 0xD0, 0x1A);
const QColor kRed(0xE8, 0x2A, 0x2A);

QColor LampColour(StatusLampColour c) {
    switch (c) {
    case StatusLampColour::Green:
        return kGreen;
    case StatusLampColour::Yellow:
        return kYellow;
    case StatusLampColour::Red:
        break;
    }
    return kRed;
}

} // namespace

TMeStatu::TMeStatu(DeviceControl* device, DatabaseStartup databaseStartup, QWidget* parent)
    : QDialog(parent), device_(device), databaseStartup_(std::move(databaseStartup)) {
    setObjectName(QStringLiteral("MeStatu"));
    setWindowTitle(QStringLiteral("系統狀態設定"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameShape(QFrame::Box);
    frame->setStyleSheet(QStringLiteral("#Panel1 { background: #20262E; border: 1px solid #0B0E12; }"
                                        "#Panel1 QLabel { color: #E6EDF3; }"));

    // The segment display and its maker line.
    SegmentDisplay = new QLabel(QStringLiteral("Kv-50"), frame);
    SegmentDisplay->setObjectName(QStringLiteral("SegmentDisplay"));
    QFont seg(QStringLiteral("DejaVu Sans Mono"));
    seg.setStyleHint(QFont::Monospace);
    seg.setPointSize(30);
    seg.setBold(true);
    seg.setItalic(true);
    SegmentDisplay->setFont(seg);
    SegmentDisplay->setAlignment(Qt::AlignCenter);
    SegmentDisplay->setMinimumWidth(190);
    SegmentDisplay->setStyleSheet(
        QStringLiteral("QLabel#SegmentDisplay { background: #050805; color: #39FF5A; "
                       "border: 2px inset #3A3F44; padding: 6px 12px; }"));
    auto* powered = new QLabel(QStringLiteral("Powered By Sorvan"), frame);
    powered->setObjectName(QStringLiteral("PoweredLabel"));
    powered->setAlignment(Qt::AlignCenter);
    powered->setStyleSheet(QStringLiteral("color: #9FB3C8;"));
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(SegmentDisplay);
    left->addWidget(powered);
    left->addStretch();

    // The device values.
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(12);
    values->setVerticalSpacing(8);
    UsbLabel = new QLabel(QStringLiteral("USB Status:"), frame);
    UsbLabel->setObjectName(QStringLiteral("UsbLabel"));
    ALed1 = new TALed(frame, 18);
    ALed1->setObjectName(QStringLiteral("ALed1"));
    ALed1->SetColour(kYellow);
    ALed1->SetLit(true);
    ALed1->SetBlinking(true);
    values->addWidget(UsbLabel, 0, 0);
    values->addWidget(ALed1, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    const QString names[] = {QStringLiteral("Device Mdl:"), QStringLiteral("Serial Num:"),
                             QStringLiteral("Hardware Ver:")};
    QLabel** valueLabels[] = {&ModelValue, &SerialValue, &HardwareValue};
    const QString valueNames[] = {QStringLiteral("ModelValue"), QStringLiteral("SerialValue"),
                                  QStringLiteral("HardwareValue")};
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    for (int i = 0; i < 3; ++i) {
        auto* v = new QLabel(frame);
        v->setObjectName(valueNames[i]);
        v->setFont(mono);
        v->setMinimumWidth(190);
        v->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
        *valueLabels[i] = v;
        values->addWidget(new QLabel(names[i], frame), i + 1, 0);
        values->addWidget(v, i + 1, 1);
    }
    values->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->setSpacing(22);
    top->addLayout(left);
    top->addLayout(values, 1);

    // Seven step lamps and the progress bar.
    auto* lamps = new QHBoxLayout;
    lamps->setSpacing(10);
    for (int i = 1; i <= 7; ++i) {
        auto* l = new TALed(frame, 14);
        l->setObjectName(QStringLiteral("hhALed%1").arg(i));
        l->SetColour(kGreen);
        hhALed[i] = l;
        lamps->addWidget(l);
    }
    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(14);
    lamps->addSpacing(8);
    lamps->addWidget(ProgressBar1, 1);

    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(20, 18, 20, 14);
    inner->setSpacing(16);
    inner->addLayout(top);
    inner->addLayout(lamps);

    // Status bar and exit button.
    StatusBar1 = new QLabel(QStringLiteral("Environment Setup. Please Wait...."), this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setWordWrap(true);
    StatusBar1->setMinimumHeight(StatusBar1->fontMetrics().height() * 2 + 4);
    ExitButton = new QPushButton(WorkstationIcon(QStringLiteral("exit")), QStringLiteral("離  開"), this);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setToolTip(QStringLiteral("離開O.R.U.K.系統執行功能"));
    ExitButton->setMinimumWidth(100);
    ExitButton->hide();
    connect(ExitButton, &QPushButton::clicked, this, [this] {
        online_ = false;
        if (device_)
            device_->SetOffline();
        accept();
    });
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(12, 6, 12, 8);
    bottom->setSpacing(12);
    bottom->addWidget(StatusBar1, 1);
    bottom->addWidget(ExitButton, 0, Qt::AlignVCenter);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(frame, 1);
    main->addLayout(bottom);
    setStyleSheet(QStringLiteral("TMeStatu, oruk--gui--TMeStatu { background: #ECEFF3; }"));
    resize(sizeHint().expandedTo(QSize(560, 280)));

    if (device_) {
        connect(device_, &DeviceControl::statusViewChanged, this, &TMeStatu::ShowView);
        connect(device_, &DeviceControl::statusCheckFinished, this, &TMeStatu::CheckFinished);
    }
}

void TMeStatu::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (QWidget* p = parentWidget()) // centred on the main window
        move(p->geometry().center() - rect().center());
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    setWindowOpacity(1.0);
    ModelValue->clear();
    SerialValue->clear();
    HardwareValue->clear();
    if (device_) {
        device_->StartStatusCheck();
    } else {
        StatusCheckOutcome none;
        none.ErrorText = kNoDeviceMessage;
        none.View.StatusText = kNoDeviceMessage;
        none.View.ExitButtonVisible = true;
        none.View.Model = none.View.Serial = none.View.HardwareVersion = "None!";
        none.View.ValuesShown = true;
        none.View.Progress = 100;
        none.View.StepLampsOn = 7;
        CheckFinished(none);
    }
}

void TMeStatu::ShowView(const StatusCheckView& v) {
    ALed1->SetColour(LampColour(v.Lamp));
    if (v.ValuesShown) {
        ModelValue->setText(QString::fromStdString(v.Model));
        SerialValue->setText(QString::fromStdString(v.Serial));
        HardwareValue->setText(QString::fromStdString(v.HardwareVersion));
    }
    ProgressBar1->setValue(v.Progress);
    for (int i = 1; i <= 7; ++i)
        hhALed[i]->SetLit(i <= v.StepLampsOn);
    StatusBar1->setText(QString::fromStdString(v.StatusText));
    ExitButton->setVisible(v.ExitButtonVisible);
}

void TMeStatu::CheckFinished(const StatusCheckOutcome& out) {
    ShowView(out.View);
    online_ = out.Online;
    if (!online_) {
        StatusBar1->setText(QString::fromStdString(out.ErrorText));
        ExitButton->show();
        ExitButton->setFocus();
        return;
    }
    if (databaseStartup_) {
        ExitButton->hide();
        const bool ok = databaseStartup_(*this);
        if (!ok) {
            online_ = false;
            if (device_)
                device_->SetOffline();
        }
    }
    accept();
}

void TMeStatu::Lamp(int lamp, LampState state) {
    if (lamp < 1 || lamp > 7)
        return;
    hhALed[lamp]->SetColour(state == LampState::Done ? kGreen : kYellow);
    hhALed[lamp]->SetLit(state != LampState::Unlit);
}

void TMeStatu::Progress(int percent) {
    ProgressBar1->setValue(percent);
}

void TMeStatu::StatusText(const std::string& text) {
    StatusBar1->setText(QString::fromStdString(text));
    StatusBar1->repaint();
}

void TMeStatu::LabelText(const std::string& text) {
    UsbLabel->setText(QString::fromStdString(text));
}

void TMeStatu::Message(int type, const std::string& text) {
    ShowMsg(this, type, QString::fromStdString(text));
}

void TMeStatu::ProcessEvents() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMeStatu::keyPressEvent(QKeyEvent* e) {
    // Escape is the exit button once it is offered, and nothing while the check runs.
    if (e->key() == Qt::Key_Escape) {
        if (ExitButton->isVisible())
            ExitButton->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TMeStatu::done(int r) {
    if (closing_)
        return;
    closing_ = true;
    if (online_)
        FadeOut(this, kFadeMs);
    ProgressBar1->setEnabled(false);
    ALed1->SetBlinking(false);
    QDialog::done(r);
}

} // namespace oruk::gui
