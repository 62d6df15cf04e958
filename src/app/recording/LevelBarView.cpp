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
    const auto before = bar_.columns();
    bar_.Draw(level, peak, warnPixels, peakPixels);
    if (bar_.columns() != before) // a steady level costs no repaint
        update();
}

void LevelBarView::clear() {
    bar_.Clear();
    update();
}

void LevelBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& columns = bar_.columns();
    // One rectangle for each run of columns of one colour.
    for (std::size_t x = 0, end = 0; x < columns.size(); x = end) {
        for (end = x + 1; end < columns.size() && columns[end] == columns[x];)
            ++end;
        painter.fillRect(static_cast<int>(x), 0, static_cast<int>(end - x), height(), colourOf(columns[x]));
    }
}
