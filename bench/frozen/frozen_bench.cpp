// Helper of bench/frozen/run.sh. The main window with the real audio engine records from the sound server
// whose process id is given; the server is stopped (SIGSTOP) during the recording. Prints, in milliseconds:
//   the longest gap between the window's 50 ms recording ticks while the server runs (the baseline) and
//   while it is stopped for FREEZE seconds, 8 s into a recording;
//   for a server that stays stopped: the start and the stop of a song (its device asleep after silence, so
//   that the start wants it opened), the stop of the recording (a click on bStop), the closing of the window
//   and the end of the audio engine (its bounded wait for a close that hangs).
// Usage: bench_frozen SERVER-PID [FREEZE seconds = 12]
#include "app/TForm1.h"
#include "app/playback/Player.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/RecordingControl.h"
#include "platform/CdMediaDevice.h"
#include "platform/DurableFileCopier.h"
#include "platform/LogindPower.h"
#include "platform/MountTableDrives.h"
#include "platform/PosixFileSystem.h"
#include "platform/SystemClock.h"
#include "platform/SystemFolders.h"
#include "platform/audio/AudioFactory.h"
#include "support/PrintingDialogs.h"
#include "support/TickGaps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/types.h>

namespace {

struct Window {
    PrintingDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    MountTableDrives drives;
    DurableFileCopier copier;
    LogindPower power;
    PosixFileSystem files;
    std::unique_ptr<CdMediaDevice> media;
    std::unique_ptr<Services> services;
    std::unique_ptr<TForm1> form;

    explicit Window(AudioLibrary& audio) {
        media = std::make_unique<CdMediaDevice>(audio, &CdMediaDevice::systemDrives);
        services = std::make_unique<Services>(
            Services{dialogs, clock, folders, audio, drives, copier, power, *media, files});
        form = std::make_unique<TForm1>(*services);
        form->show();
    }
    void click(const char* name) { form->findChild<QToolButton*>(QString::fromLatin1(name))->click(); }
};

template <typename F> qint64 millisOf(F step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.elapsed();
}

void line(const char* what, qint64 value, const char* baselineName, qint64 baseline) {
    std::printf("%-52s %7lld ms  baseline %7lld ms (%s)  ratio %.2f\n", what, static_cast<long long>(value),
                static_cast<long long>(baseline), baselineName,
                baseline > 0 ? static_cast<double>(value) / static_cast<double>(baseline) : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_frozen SERVER-PID [FREEZE seconds = 12]\n");
        return 2;
    }
    const pid_t server = static_cast<pid_t>(std::atoi(argv[1]));
    const double freeze = argc > 2 ? std::atof(argv[2]) : 12.0;
    std::unique_ptr<AudioLibrary> audio = createAudioLibrary();
    auto window = std::make_unique<Window>(*audio);
    longestTickGap(*window->form, 2000); // start-up

    // A server that stops for a while during a recording.
    window->click("bRecord");
    const qint64 running = longestTickGap(*window->form, 8000);
    kill(server, SIGSTOP);
    const qint64 frozen = longestTickGap(*window->form, static_cast<int>(freeze * 1000));
    kill(server, SIGCONT);
    const qint64 after = longestTickGap(*window->form, 4000);
    const qint64 stop = millisOf([&] { window->click("bStop"); });
    longestTickGap(*window->form, 2000); // the finishing
    line("longest UI stall, server running", running, "tick", 50);
    line("longest UI stall, server stopped during recording", frozen, "server running", running);
    line("longest UI stall, after the server went on", after, "server running", running);
    line("stop of the recording, server running again", stop, "tick", 50);

    // A server that stays stopped: the operator stops the recording and closes the window.
    window->click("bRecord");
    longestTickGap(*window->form, 4000);
    kill(server, SIGSTOP);
    const qint64 frozenAgain = longestTickGap(*window->form, 4000);
    TransportStrip& strip = window->form->player().strip();
    const qint64 playFrozen = millisOf([&] { strip.button(TransportStrip::Play)->click(); });
    longestTickGap(*window->form, 1000);
    const qint64 songStopFrozen = millisOf([&] { strip.button(TransportStrip::Stop)->click(); });
    const qint64 stopFrozen = millisOf([&] { window->click("bStop"); });
    longestTickGap(*window->form, 2000);
    const qint64 close = millisOf([&] {
        window->form->close();
        window.reset();
    });
    const qint64 end = millisOf([&] { audio.reset(); });
    line("longest UI stall, server stays stopped", frozenAgain, "server running", running);
    line("start of a song, server stopped", playFrozen, "tick", 50);
    line("stop of the song, server stopped", songStopFrozen, "tick", 50);
    line("stop of the recording, server stopped", stopFrozen, "tick", 50);
    line("closing the window, server stopped", close, "tick", 50);
    line("end of the audio engine, server stopped", end, "tick", 50);
    kill(server, SIGCONT);
    return 0;
}
