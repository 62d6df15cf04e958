#include "app/playback/SelectionTrackBar.h"

#include <QPainter>
#include <QStyleOptionSlider>

void SelectionTrackBar::setSelStart(int value) {
    selStart_ = value;
    update();
}

void SelectionTrackBar::setSelEnd(int value) {
    selEnd_ = value;
    update();
}

void SelectionTrackBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (maximum() <= minimum() || selEnd_ < selStart_)
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const auto x = [&](int value) {
        return groove.x() + handle.width() / 2 +
               QStyle::sliderPositionFromValue(minimum(), maximum(), std::clamp(value, minimum(), maximum()),
                                               span);
    };
    QPainter painter(this);
    QColor band = palette().color(QPalette::Highlight);
    band.setAlpha(isEnabled() ? 160 : 70);
    painter.fillRect(
        QRect(QPoint(x(selStart_), groove.center().y() - 3), QPoint(x(selEnd_), groove.center().y() + 3)),
        band);
}
