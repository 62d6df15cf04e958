#pragma once

#include "common/AudioLibrary.h"
#include "recording/AutoRecording.h"

#include <QString>
#include <QTimer>
#include <cstdint>

class TForm1;
class TransportStrip;

// The song player: preparation of the active source, Play / Pause / Stop and the progress tick.
class Player {
public:
    explicit Player(TForm1& form);

    // Prepares the source of the active group.
    void CheckBox1Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void MediaPlayer1Click(int button);
    void BitBtn3Click();
    // Runs PlayerCommand: "Play", "Pause" or "Stop".
    void Button4Click();
    void Timer1Timer();

    TransportStrip& strip() { return *strip_; }
    // The transport ready to play the prepared source (only Play enabled, the big button too), or all of it
    // disabled. While the commands are held the strip and the big button stay disabled.
    void setPlayable(bool playable);
    // Holds every song command (the strip and the big button) disabled, as while the start melody plays;
    // released, the transport follows the song: one that plays or is paused gets its commands back as they
    // were, otherwise the prepared source is prepared again.
    void holdCommands(bool held);
    bool commandsHeld() const { return held_; }
    // Opens `file` as the song stream in place of the one before, which is released.
    void openSongStream(const QString& file);
    QTimer& timer1() { return Timer1; }

    AudioHandle SongStream = 0;
    std::int64_t SongEndBytes = 0;
    int SongSeconds = 0;
    QString CurrentFileAnsi;
    bool MarksSet = false;
    QString PlayerCommand;

private:
    void play();
    void pause();
    void stop();
    // The Auto-Rec rule around a meeting song that starts (not on resume) and one that stops.
    void recordAroundTheSongs();
    recording::MeetingSongState meetingSongState() const;
    void setGroupsEnabled(bool enabled);
    void setBigButton(int uiText, bool enabled);
    bool meetingGroup() const;
    void prepareSlot(int slot, bool busy);
    // Tells after the tick that the song's file could not be read on: it ended there.
    void tellUnreadable(const QString& file);

    TForm1& form_;
    AudioLibrary& audio_;
    TransportStrip* strip_;
    QTimer Timer1;
    bool held_ = false;
    // The file of the song started last, as the stream plays it.
    QString playingFile_;
};
