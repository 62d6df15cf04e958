#pragma once

#include "app/MainWindowFixture.h"
#include "app/playback/Player.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingFinisher.h"
#include "support/RecordingTag.h"

#include <QTest>
#include <QToolButton>
#include <cmath>

// The main window with a tone on the recording input, and what the recording tests look at.
inline std::int16_t tone(std::uint64_t frame) {
    return static_cast<std::int16_t>(8000 * std::sin(frame * 0.125));
}

class RecordingFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        audio.backend->setInputSignal([](std::uint64_t frame, int) { return tone(frame); });
    }
    QString recordings() { return folders.homeFolder() + QStringLiteral("/Aufnahmen/"); }
    // Runs the recording tick for `seconds` of virtual time.
    void record(TForm1& form, double seconds) {
        for (double t = 0; t < seconds; t += 0.05) {
            audio.backend->advance(0.05);
            if (form.recordingControl().posTimer().isActive())
                form.recordingControl().PosTimerTimer();
            // Messages the tick leaves for the event loop.
            QCoreApplication::sendPostedEvents();
        }
    }
    // Plays the prepared song to its end, ticking player and recording.
    void playSongToItsEnd(TForm1& form) {
        form.player().strip().button(TransportStrip::Play)->click();
        for (int i = 0; i < 100 && form.player().timer1().isActive(); ++i) {
            audio.backend->advance(0.3);
            form.player().Timer1Timer();
            if (form.recordingControl().posTimer().isActive())
                form.recordingControl().PosTimerTimer();
        }
    }
    // Starts the window with recordings going to `folder` by hand (no splitting, no Auto-Rec) and
    // "Vortrag.mp3" in the file name field.
    std::unique_ptr<TForm1> startRecordingInto(const QString& folder) {
        QStringList settings = fullSettings();
        settings[5] = QStringLiteral("100");
        settings[8] = QStringLiteral("0");
        settings[11] = folder;
        writeFile(settingsFile(), settings);
        auto form = start();
        form->form().Datei->setText(QStringLiteral("Vortrag.mp3"));
        return form;
    }
    // The recording controls when nothing is requested.
    void expectIdle(TForm1& form) {
        Ui::TForm1& ui = form.form();
        EXPECT_FALSE(form.recordingControl().RecordingRequested());
        EXPECT_FALSE(form.recordingControl().posTimer().isActive());
        EXPECT_FALSE(form.capture().channelActive());
        EXPECT_TRUE(ui.rec->isHidden());
        EXPECT_EQ(ui.BitBtn4->text(), QStringLiteral("Aufnahme"));
        EXPECT_EQ(ui.BitBtn4->property("Tag").toInt(), 0);
    }
    // Virtual time runs ahead of the encoder: waits until it has taken all but a second of the audio.
    void letTheEncoderCatchUp(TForm1& form) {
        AudioLibrary& library = *audio.library;
        const AudioHandle encoder = form.capture().EncoderHandle;
        EXPECT_TRUE(QTest::qWaitFor([&] { return library.EncodeGetQueued(encoder) < 44100; }, 60000));
    }
    // Lets the stopped recordings' encoders exit and their files be finished.
    void waitForFinishing(TForm1& form) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.finisher().busy(); }, 60000));
    }
    // The MP3 files in the recording folder, by name.
    QStringList mp3Files() {
        return QDir(recordings()).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name);
    }
    // The tag of recording `name` as TagLib reads it.
    RecordingTag tagOf(const QString& name) { return readRecordingTag(recordings() + name); }
};
