#pragma once

#include "common/MediaDevice.h"

#include <QString>

class TForm1;

// The group "besondere Anlässe": a song by number, any audio file or an audio CD track, between a start
// and an end mark, and the CD parts of the transport.
class OtherSource {
public:
    explicit OtherSource(TForm1& form);

    void ComboBox4Change();
    void Label7Click();
    void RadioButton2Click();
    // The group's branch of the preparation; `busy`: the song player played or was paused before it.
    void prepare(bool busy);

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void TrackBar1Change();

    // The transport on an audio CD track.
    void playCdTrack();
    void stopCdTrack();
    // Whole seconds played since the track's start.
    int cdElapsedSeconds();

    int CdTrackNumber = 0;
    Msf CdTrackStart;
    int CdTrackLength = 0;
    int CdEndSeconds = 0;

private:
    QString songFileOf(int number) const;
    // Opens the source's file on the song stream (unless it plays) and sets lengths, marks and labels;
    // false, with the message said, when the file cannot be played.
    bool prepareFile(bool busy);
    bool prepareCdTrack();
    // Leaves nothing playable and tells the operator `message`, once per source.
    void disableTransport(const QString& message);
    void showMarks();
    // The path chosen: a track of an audio CD in a drive or a file; empty when cancelled.
    QString chooseSource();

    TForm1& form_;
    QString reported_;
};
