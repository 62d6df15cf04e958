#pragma once

#include "common/DateTime.h"

#include <QObject>
#include <QString>
#include <QTimer>

class TForm1;

// The clock tick of 300 ms: the shutdown countdown in the menu bar and the power-off at its end, the
// countdown to the background list and its start, the background music's step; and the end of the
// meeting (Button3Click).
class MeetingClock : public QObject {
public:
    explicit MeetingClock(TForm1& form);

    void Timer2Timer();
    // Tag 0: the music group for the time before the meeting; Tag 1: the music after the meeting and the
    // shutdown countdown.
    void Button3Click();
    void shutdowncancelClick();
    QTimer& timer2() { return Timer2; }

    DateTime ShutdownCountdownStart = 0;
    QString ShutdownCountdownText;

private:
    void shutdownStep(DateTime now);
    void countdownStep(DateTime now);
    // At the end of the countdown with no background song playing: powers off once, when no recording,
    // finishing or copy is left.
    void powerOffWhenDue();

    TForm1& form_;
    QTimer Timer2;
    bool poweredOff_ = false;
};
