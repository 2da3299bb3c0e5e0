#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

namespace oruk::gui {

// A round indicator lamp: a colour, lit or dark, optionally blinking.
class TALed : public QWidget {
    Q_OBJECT
public:
    explicit TALed(QWidget* parent = nullptr, int diameter = 16);

    void SetColour(const QColor& c);
    void SetLit(bool on);
    void SetBlinking(bool on);
    QColor Colour() const { return colour_; }
    bool Lit() const { return lit_; }
    bool Blinking() const;

    QSize sizeHint() const override { return {diameter_, diameter_}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor colour_ = Qt::green;
    bool lit_ = false;
    bool phase_ = true;
    int diameter_;
    QTimer* blink_ = nullptr;
};

} // namespace oruk::gui
