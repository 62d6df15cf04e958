// Plays seeded evenings of background music on the demo songs in virtual time: each armed at a moment
// between 19:22 and 19:25 for a meeting at 19:30, with a list of three random songs and random filler.
// Prints the silence between the last filler song and the list's start, and the error of the list's end
// against its aim (20 s before the meeting), mean and worst, with the clock's tick of 300 ms, which bounds
// each song change, as the scale.
// Usage: bench_evening SONGFOLDER/ [evenings] [first seed]
#include "app/TForm1.h"
#include "app/music/EveningRun.h"
#include "app/music/MusicBlock.h"
#include "common/TextFile.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDrives.h"
#include "fakes/FakeFolders.h"
#include "fakes/FakeMediaDevice.h"
#include "fakes/FakePower.h"
#include "platform/DurableFileCopier.h"
#include "platform/PosixFileSystem.h"
#include "platform/audio/AudioFactory.h"
#include "support/PrintingDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int SongCount = 135;
constexpr double Meeting = 19.0 * 3600 + 30 * 60;

// The start-up's notes would repeat at every evening.
class QuietDialogs : public PrintingDialogs {
public:
    void information(const QString&, const QString&) override {}
};

struct Figures {
    std::vector<double> silence;
    std::vector<double> endError;
    int fillerCut = 0;
};

void writeLines(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).path());
    TextFile::writeLines(path, lines);
}

// One evening on fresh services; false when the window did not get as far as the list.
bool evening(const QString& songs, quint32 seed, Figures& figures) {
    QRandomGenerator random(seed);
    QuietDialogs dialogs;
    FakeClock clock;
    FakeFolders folders;
    NullAudioLibrary audio = createNullAudioLibrary();
    FakeDrives drives;
    DurableFileCopier copier;
    FakePower power;
    writeLines(folders.commonDataFolder() + QStringLiteral("/Kandolor/Kandolor.txt"),
               {songs, QStringLiteral(".mp3"), QStringLiteral("474500066"), QString::number(SongCount)});
    QDir().mkpath(folders.homeFolder() + QStringLiteral("/Mitschnitte"));
    // Meetings on Wednesday at 19:30 and Sunday at 10:00, recordings by hand.
    writeLines(folders.userDataFolder() + QStringLiteral("/Kandolor/Kandolor.cfg"),
               {"700", "900", "64", "0", "", "20", "1", "0", "1", "3",
                " 8.12500000000000E-0001 4.16666666666667E-0001", folders.homeFolder() + "/Mitschnitte/",
                "75", "90", "2", "", "0", " 2.08333333333333E-0002"});
    clock.set(2026, 12, 9, 19, 22);
    clock.advanceSeconds(random.bounded(180));
    FakeMediaDevice media;
    PosixFileSystem files;
    Services services{dialogs, clock, folders, *audio.library, drives, copier, power, media, files};
    TForm1 form(services);
    MusicBlock& music = form.musicBlock();
    music.seedRandom(seed);
    form.findChild<QPushButton*>(QStringLiteral("BitBtn6"))->click();
    auto* entry = form.findChild<QComboBox*>(QStringLiteral("ComboBox6"));
    for (int k = 0; k < 3; ++k) {
        entry->setEditText(QString::number(1 + random.bounded(SongCount)));
        music.ComboBox6Change();
    }
    form.findChild<QCheckBox*>(QStringLiteral("CheckBox4"))->setChecked(true);
    form.findChild<QPushButton*>(QStringLiteral("BitBtn5"))->click();
    while (music.songLengths().measured() < SongCount)
        QThread::msleep(5);
    const EveningOutcome outcome = playEvening(form, clock, *audio.backend, Meeting + 60);
    if (outcome.listStart < 0 || outcome.listEnd < 0 || outcome.fillerEnd < 0)
        return false;
    figures.silence.push_back(outcome.listStart - outcome.fillerEnd);
    figures.endError.push_back(outcome.listEnd - (Meeting - 20));
    figures.fillerCut += outcome.fillerCut ? 1 : 0;
    return true;
}

void print(const char* what, const std::vector<double>& values) {
    double sum = 0;
    for (double v : values)
        sum += v;
    const double mean = sum / static_cast<double>(values.size());
    const double worst = *std::max_element(values.begin(), values.end(),
                                           [](double a, double b) { return std::abs(a) < std::abs(b); });
    std::printf("%-34s mean %6.2f s (%5.1f ticks)   worst %6.2f s (%5.1f ticks)\n", what, mean, mean / 0.3,
                worst, worst / 0.3);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_evening SONGFOLDER/ [evenings] [first seed]\n");
        return 2;
    }
    const QString songs = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    const int evenings = argc > 2 ? std::atoi(argv[2]) : 100;
    const auto first = static_cast<quint32>(argc > 3 ? std::atoi(argv[3]) : 1);
    Figures figures;
    for (int i = 0; i < evenings; ++i)
        if (!evening(songs, first + static_cast<quint32>(i), figures))
            std::fprintf(stderr, "evening %d: the list did not play\n", i);
    if (figures.silence.empty())
        return 1;
    std::printf("%zu evenings, armed 19:22..19:25 for 19:30, demo songs, random filler\n",
                figures.silence.size());
    print("silence, last filler to list", figures.silence);
    print("list end against 19:29:40", figures.endError);
    std::printf("filler songs cut off by the list     %d\n", figures.fillerCut);
    return 0;
}
