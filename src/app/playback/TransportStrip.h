#pragma once

#include <QStringList>
#include <QWidget>

class QToolButton;

// The Play / Pause / Stop button strip; which buttons are enabled is set from outside.
class TransportStrip : public QWidget {
    Q_OBJECT

public:
    enum Button { Play, Pause, Stop };
    explicit TransportStrip(QWidget* parent = nullptr);

    void setEnabledButtons(bool play, bool pause, bool stop);
    // The tooltips of Play, Pause and Stop, in this order.
    void setToolTips(const QStringList& tips);
    bool isButtonEnabled(Button button) const;
    QToolButton* button(Button button) const { return buttons_[button]; }

signals:
    void clicked(TransportStrip::Button button);

private:
    QToolButton* buttons_[3];
};
