#pragma once

#include <QSlider>

// A horizontal track bar that also shows a selection: the band from the start mark to the end mark is
// painted over the groove. Ticks as the slider has them.
class SelectionTrackBar : public QSlider {
    Q_OBJECT

public:
    using QSlider::QSlider;
    int selStart() const { return selStart_; }
    int selEnd() const { return selEnd_; }
    void setSelStart(int value);
    void setSelEnd(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selStart_ = 0;
    int selEnd_ = 0;
};
