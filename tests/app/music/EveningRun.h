#pragma once

#include "common/DateTime.h"

class FakeClock;
class NullBackend;
class TForm1;

// What happened in one evening of background music, in seconds of the day.
struct EveningOutcome {
    // The moment the countdown aims the list's start at: the meeting less the list and its margin.
    double listTarget = 0;
    double listStart = -1;
    // The last moment a list song sounded, and the last one a filler song did before the list.
    double listEnd = -1;
    double fillerEnd = -1;
    int fillerSongs = 0;
    // The list began while a filler song still sounded.
    bool fillerCut = false;
};

// Plays the armed music block in virtual time, in steps of 10 ms of the audio devices and the clock with a
// tick of the meeting clock every 300 ms, until the list has played or `untilSeconds` of the day.
EveningOutcome playEvening(TForm1& form, FakeClock& clock, NullBackend& backend, double untilSeconds);
