#include "app/recording/LevelBarView.h"

#include <QPainter>

namespace {

QColor colourOf(recording::LevelColour colour) {
    switch (colour) {
    case recording::LevelColour::Yellow:
        return QColor(255, 255, 0);
    case recording::LevelColour::Red:
        return QColor(255, 0, 0);
    case recording::LevelColour::Green:
        return QColor(0, 128, 0);
    case recording::LevelColour::White:
        break;
    }
    return QColor(255, 255, 255);
}

} // namespace

void LevelBarView::draw(int level, int peak, int warnPixels, int peakPixels) {
    bar_.Draw(level, peak, warnPixels, peakPixels);
    update();
}

void LevelBarView::clear() {
    bar_.Clear();
    update();
}

void LevelBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& columns = bar_.columns();
    for (int x = 0; x < recording::LevelBarWidth; ++x)
        painter.fillRect(x, 0, 1, height(), colourOf(columns[static_cast<std::size_t>(x)]));
}
