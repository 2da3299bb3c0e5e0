#pragma once

#include <QDialog>
#include <QLocale>
#include <QString>

class QLabel;
class QPushButton;

namespace oruk::gui {

// "[ " + the counter with thousands separators, right-aligned in 8 characters + " ]".
QString FormatUsageCounter(long long count, const QLocale& locale = QLocale());

// The About box: product, maker, service texts and the device's serial, hardware version and
// measurement counter.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void SetDeviceInfo(const QString& serialNo, const QString& hardwareVersion);
    // The counter arrives from the device thread; until then the box shows it as being read.
    void SetUsageCounter(long long count);

    static constexpr int kFadeMs = 500;

    QLabel* TitleLabel = nullptr;
    QLabel* SerialValue = nullptr;
    QLabel* HardwareValue = nullptr;
    QLabel* CounterValue = nullptr;
    QLabel* UrlLabel = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    bool closing_ = false;
};

} // namespace oruk::gui
