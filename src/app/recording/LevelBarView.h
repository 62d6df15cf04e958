#pragma once

#include "recording/LevelBar.h"

#include <QWidget>

// The 130 × 10 pixel input level bar; its columns keep their colour between draws (the peak marker).
class LevelBarView : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    void draw(int level, int peak, int warnPixels, int peakPixels);
    void clear();
    const recording::LevelBar& bar() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    recording::LevelBar bar_;
};
