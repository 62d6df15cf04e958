#include "app/music/EveningRun.h"

#include "app/TForm1.h"
#include "app/music/MeetingClock.h"
#include "app/music/MusicBlock.h"
#include "fakes/FakeClock.h"
#include "platform/audio/NullBackend.h"

EveningOutcome playEvening(TForm1& form, FakeClock& clock, NullBackend& backend, double untilSeconds) {
    MusicBlock& music = form.musicBlock();
    AudioLibrary& audio = form.services().audio;
    const auto secondsOfDay = [&] { return timePart(clock.now()) * SecondsPerDay; };
    EveningOutcome outcome;
    outcome.listTarget =
        timePart(form.state().NextMeetingTime) * SecondsPerDay - music.CountdownTotalSeconds();
    AudioHandle filler = 0;
    bool listPlayed = false;
    bool fillerSounded = false;
    for (int step = 1; secondsOfDay() < untilSeconds; ++step) {
        backend.advance(0.01);
        clock.advanceSeconds(0.01);
        if (step % 30 == 0)
            form.meetingClock().Timer2Timer();
        const int state = music.MusicState();
        const bool sounding = audio.ChannelIsActive(music.MusicStream) == AudioLibrary::Playing &&
                              audio.ChannelGetPosition(music.MusicStream) < music.MusicLengthBytes;
        const bool fillerSounds = state == MusicBlock::Armed && sounding;
        if (fillerSounds) {
            outcome.fillerEnd = secondsOfDay();
            if (music.MusicStream != filler)
                ++outcome.fillerSongs;
            filler = music.MusicStream;
        } else if (state == MusicBlock::PlayingBefore) {
            if (outcome.listStart < 0) {
                outcome.listStart = secondsOfDay();
                outcome.fillerCut = fillerSounded;
            }
            if (sounding && music.MusicEntry == 7)
                outcome.listEnd = secondsOfDay();
            listPlayed = true;
        } else if (listPlayed) {
            break;
        }
        fillerSounded = fillerSounds;
    }
    return outcome;
}
