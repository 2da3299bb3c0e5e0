#include "app/gui/Lamp.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

namespace oruk::gui {

TALed::TALed(QWidget* parent, int diameter) : QWidget(parent), diameter_(diameter) {
    setFixedSize(diameter, diameter);
    blink_ = new QTimer(this);
    blink_->setInterval(400);
    connect(blink_, &QTimer::timeout, this, [this] {
        phase_ = !phase_;
        update();
    });
}

void TALed::SetColour(const QColor& c) {
    colour_ = c;
    update();
}

void TALed::SetLit(bool on) {
    lit_ = on;
    update();
}

void TALed::SetBlinking(bool on) {
    phase_ = true;
    if (on)
        blink_->start();
    else
        blink_->stop();
    update();
}

bool TALed::Blinking() const {
    return blink_->isActive();
}

void TALed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool bright = lit_ && phase_;
    const QColor base = bright ? colour_ : colour_.darker(320);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() / 1.6);
    g.setColorAt(0, bright ? base.lighter(160) : base.lighter(130));
    g.setColorAt(1, base);
    p.setBrush(g);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawEllipse(r);
}

} // namespace oruk::gui
