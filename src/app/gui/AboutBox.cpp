#include "app/gui/AboutBox.h"

#include "app/Launcher.h"
#include "app/gui/Branding.h"
#include "app/gui/Look.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace oruk::gui {

QString FormatUsageCounter(long long count, const QLocale& locale) {
    QLocale loc = locale;
    loc.setNumberOptions(loc.numberOptions() & ~QLocale::OmitGroupSeparator);
    return QStringLiteral("[ ") + loc.toString(count).rightJustified(8, QLatin1Char(' ')) +
           QStringLiteral(" ]");
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("關於版本"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("ProgramIcon"));
    logo->setPixmap(WorkstationPicture(QStringLiteral("logo"), QSize(72, 72), this));
    logo->setFixedSize(80, 80);
    logo->setAlignment(Qt::AlignCenter);

    TitleLabel = new QLabel(Branding::Acronym() + QStringLiteral(" ") + Branding::ProductSubtitle(), this);
    TitleLabel->setObjectName(QStringLiteral("ProductName"));
    QFont big = TitleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    TitleLabel->setFont(big);

    auto* maker = new QLabel(Branding::MakerChinese(), this);
    maker->setObjectName(QStringLiteral("MakerName"));
    auto* rights = new QLabel(Branding::RightsNotice(), this);
    rights->setObjectName(QStringLiteral("Copyright"));

    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(TitleLabel);
    heading->addWidget(maker);
    heading->addWidget(rights);
    heading->addStretch();

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    // Fixed texts on the left, service and device values on the right.
    auto* fixed = new QVBoxLayout;
    fixed->setSpacing(4);
    for (const QString& t :
         {QStringLiteral("KV-50 Ver: 6.5.0 tw"), QStringLiteral("For: Windows 7,Windows 10,Windows 11 "),
          QStringLiteral("國際繁體中文版"), QStringLiteral("Made in Taiwan")})
        fixed->addWidget(new QLabel(t, this));
    fixed->addStretch();

    UrlLabel = new QLabel(this);
    UrlLabel->setObjectName(QStringLiteral("UrlLabel"));
    UrlLabel->setText(
        QStringLiteral("URL: <a href=\"%1\">%1</a>").arg(Branding::WebAddress().toHtmlEscaped()));
    UrlLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    UrlLabel->setOpenExternalLinks(false);
    connect(UrlLabel, &QLabel::linkActivated, this,
            [] { LaunchProgram(std::string(), Branding::WebAddress().toStdString()); });

    auto* service = new QVBoxLayout;
    service->setSpacing(4);
    service->addWidget(new QLabel(QStringLiteral("Service Tel: ") + Branding::Telephone(), this));
    service->addWidget(new QLabel(QStringLiteral("Fax: ") + Branding::Fax(), this));
    service->addWidget(UrlLabel);
    service->addWidget(new QLabel(QStringLiteral("e-mail: ") + Branding::Email(), this));
    service->addStretch();

    auto* texts = new QHBoxLayout;
    texts->setSpacing(28);
    texts->addLayout(fixed);
    texts->addLayout(service, 1);

    auto* device = new QGridLayout;
    device->setHorizontalSpacing(12);
    device->setVerticalSpacing(4);
    SerialValue = new QLabel(this);
    HardwareValue = new QLabel(this);
    CounterValue = new QLabel(this);
    SerialValue->setObjectName(QStringLiteral("SerialValue"));
    HardwareValue->setObjectName(QStringLiteral("HardwareValue"));
    CounterValue->setObjectName(QStringLiteral("CounterValue"));
    QFont mono = CounterValue->font();
    mono.setFamilies(
        QStringList{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono CJK TC")} +
        mono.families());
    mono.setStyleHint(QFont::Monospace);
    for (QLabel* v : {SerialValue, HardwareValue, CounterValue}) {
        v->setFont(mono);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse); // users copy the serial into reports
    }
    const QString names[] = {QStringLiteral("Device SerialNo:"), QStringLiteral("Hardware Version:"),
                             QStringLiteral("Measurement Counter:")};
    QLabel* values[] = {SerialValue, HardwareValue, CounterValue};
    for (int i = 0; i < 3; ++i) {
        device->addWidget(new QLabel(names[i], this), i, 0);
        device->addWidget(values[i], i, 1);
    }
    device->setColumnStretch(1, 1);

    OKButton = new QPushButton(QStringLiteral("確  定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setMinimumWidth(110);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(20, 20, 20, 16);
    main->setSpacing(12);
    main->addLayout(top);
    main->addWidget(line);
    main->addLayout(texts);
    main->addLayout(device);
    main->addLayout(buttons);
    CounterValue->setText(QStringLiteral("[ ........ ]"));
}

void TAboutBox::SetDeviceInfo(const QString& serialNo, const QString& hardwareVersion) {
    SerialValue->setText(serialNo);
    HardwareValue->setText(hardwareVersion);
}

void TAboutBox::SetUsageCounter(long long count) {
    CounterValue->setText(FormatUsageCounter(count));
}

void TAboutBox::showEvent(QShowEvent* e) {
    closing_ = false;
    setWindowOpacity(1.0);
    QDialog::showEvent(e);
    OKButton->setFocus();
}

void TAboutBox::done(int r) {
    if (closing_)
        return;
    closing_ = true;
    FadeOut(this, kFadeMs);
    QDialog::done(r);
}

} // namespace oruk::gui
