#pragma once

#include "common/AudioLibrary.h"

#include <QString>
#include <QTimer>

class TForm1;

// Where the melodies are; the melody dialogs offer the files of UI text AudioFileFilter.
inline const QString MelodyFolder = QStringLiteral("/usr/share/sounds");

// The melody that marks the programme's start, played by the engine on a stream of its own beside the
// song player's. The transport stays disabled until it ends; the window and its timers go on meanwhile.
class StartMelody {
public:
    explicit StartMelody(TForm1& form);

    void SpeedButton7Click();
    void SpeedButton7DblClick();
    bool playing() const { return endCheck_.isActive(); }

private:
    void ended();

    TForm1& form_;
    AudioHandle stream_ = 0;
    QTimer endCheck_;
};
