// Records a tone for `minutes` (default 60) on the null device with the real lame, waits until the encoder
// has caught up, then times the stop: the encoder's exit plus the finishing (numbering rule, rename, tag)
// that the window runs, against the same tag rewrite alone on a copy of the finished file. Prints medians
// and their ratio. Usage: bench_finish [minutes] [rounds]
#include "../support/PrintingDialogs.h"
#include "id3/TID3v2Tag.h"
#include "platform/PosixFileSystem.h"
#include "platform/SystemFolders.h"
#include "platform/audio/AudioFactory.h"
#include "recording/EncoderCommandLine.h"
#include "recording/FinishJob.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

recording::FinishJob jobFor(const QString& folder, const QString& tempName) {
    recording::FinishJob job;
    job.folder = folder;
    job.tempName = tempName;
    job.fileName = QStringLiteral("Max_Muster_2026_12_12_Vortrag.mp3");
    job.neu = true;
    job.topic = QStringLiteral("Öffentlicher Vortrag: Wer ist ein wahrer Freund?");
    job.speaker = QStringLiteral("Max Mustermann");
    job.album = QStringLiteral("Kandolor Max_Muster");
    job.year = QStringLiteral("2026");
    return job;
}

// Waits until the file has not grown for half a second: the encoder has taken the backlog.
void waitUntilCaughtUp(const QString& path) {
    qint64 size = -1;
    for (;;) {
        QThread::msleep(500);
        const qint64 now = QFileInfo(path).size();
        if (now == size)
            return;
        size = now;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double minutes = argc > 1 ? std::max(1.0, atof(argv[1])) : 60.0;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir scratch;
    const QString folder = scratch.path() + QLatin1Char('/');
    PrintingDialogs dialogs;
    SystemFolders folders;
    std::vector<double> finishing, retagAlone;
    for (int round = 0; round < rounds; ++round) {
        NullAudioLibrary audio = createNullAudioLibrary();
        audio.backend->setInputSignal([](std::uint64_t frame, int) {
            return static_cast<std::int16_t>(8000 * std::sin(frame * 0.125));
        });
        audio.library->RecordInit(-1);
        const QString temp = recording::TempRecordingName(round + 1);
        const AudioHandle channel = audio.library->RecordStart(22050, 1, 0);
        const AudioHandle encoder =
            audio.library->EncodeStart(channel,
                                       recording::EncoderCommandLine(QStringLiteral("Kandolor   Max"),
                                                                     QStringLiteral("Vortrag"), folder, temp),
                                       AudioLibrary::EncodeUnicode);
        if (encoder == 0) {
            std::fprintf(stderr, "the encoder does not start\n");
            return 1;
        }
        for (double t = 0; t < minutes * 60; t += 10)
            audio.backend->advance(10);
        waitUntilCaughtUp(folder + temp);

        QElapsedTimer timer;
        timer.start();
        audio.library->ChannelStop(channel);
        std::promise<int> exited;
        audio.library->EncodeStop(encoder, [&](int error) { exited.set_value(error); });
        const int error = exited.get_future().get();
        TID3v2Tag tag(dialogs, folders);
        PosixFileSystem files;
        const recording::FinishResult result =
            recording::FinishRecordingFile(jobFor(folder, temp), tag, files);
        finishing.push_back(timer.nsecsElapsed() / 1e6);
        if (error != 0 || !result.problem.isEmpty()) {
            std::fprintf(stderr, "finishing failed: %d %s\n", error, qPrintable(result.problem));
            return 1;
        }

        const QString copy = QStringLiteral("kopie.mp3");
        QFile::remove(folder + copy);
        QFile::rename(folder + result.finalName, folder + copy);
        timer.restart();
        TID3v2Tag alone(dialogs, folders);
        alone.ReadFromFile(folder + copy);
        alone.SetTitle(QStringLiteral("Ein anderer Titel"));
        alone.SetArtist(QStringLiteral("Max Mustermann"));
        alone.WriteToFile(folder + copy);
        retagAlone.push_back(timer.nsecsElapsed() / 1e6);
        QFile::remove(folder + copy);
    }
    const double f = median(finishing), r = median(retagAlone);
    std::printf("%.0f-minute recording, median of %d rounds\n", minutes, rounds);
    std::printf("retag alone                   %9.2f ms\n", r);
    std::printf("stop to finished tagged file  %9.2f ms   ratio to the retag %.2f\n", f, f / r);
    return 0;
}
