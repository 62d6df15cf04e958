// Helper of bench/lean/run.sh, which measures the real kandolor program from outside. Modes:
//   bare                 a bare Qt window that runs until killed (the idle baseline);
//   where                the main window's record button centre relative to the window, and whether it is
//                        enabled ("x y enabled"), for xdotool;
//   record SECONDS       the main window with the real audio engine records SECONDS after a click on the
//                        record button; prints this process's and lame's CPU seconds per minute;
//   latency FILE ROUNDS PLAYSECONDS RESTSECONDS
//                        ChannelPlay of FILE (a steady tone) to its onset on the sink's monitor (parec),
//                        RESTSECONDS after the last sound, and gaps in the tone while it plays; prints
//                        median and worst latency and gaps.
#include "app/TForm1.h"
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

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mpg123.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rate = 44100;
// A sample of the tone counts as sound above this; a run of GapFrames quiet samples while it plays is a gap.
constexpr int Quiet = 200;
constexpr int GapFrames = 32;

double wall() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// utime + stime in seconds of /proc/PID or /proc/self/task/TID; -1 when it is gone.
double cpuOf(const QString& proc) {
    QFile file(proc + QStringLiteral("/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return static_cast<double>(fields[11].toLongLong() + fields[12].toLongLong()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A child process of this one named lame; 0 when there is none.
pid_t lameChild() {
    const QString self = QString::number(getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile file(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = file.readAll();
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (stat.contains("(lame)") && fields.size() > 1 && fields[1] == self.toLatin1())
            return entry.toInt();
    }
    return 0;
}

struct Program {
    PrintingDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    std::unique_ptr<AudioLibrary> audio = createAudioLibrary();
    MountTableDrives drives;
    DurableFileCopier copier;
    LogindPower power;
    CdMediaDevice media{*audio, &CdMediaDevice::systemDrives};
    PosixFileSystem files;
    Services services{dialogs, clock, folders, *audio, drives, copier, power, media, files};
    TForm1 form{services};
};

void runFor(double seconds) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, &QCoreApplication::quit);
    QApplication::exec();
}

int where() {
    Program program;
    program.form.show();
    runFor(4.0);
    auto* button = program.form.findChild<QToolButton*>(QStringLiteral("bRecord"));
    const QPoint centre = button->mapTo(&program.form, button->rect().center());
    std::printf("%d %d %d\n", centre.x(), centre.y(), button->isEnabled() ? 1 : 0);
    return 0;
}

int record(double seconds) {
    Program program;
    program.form.show();
    runFor(3.0);
    auto* button = program.form.findChild<QToolButton*>(QStringLiteral("bRecord"));
    if (button->isEnabled())
        button->click();
    else
        program.form.recordingControl().bRecordClick();
    runFor(3.0);
    const pid_t lame = lameChild();
    if (lame == 0) {
        std::printf("no lame process\n");
        return 1;
    }
    const QStringList threads =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::vector<double> threads0;
    for (const QString& t : threads)
        threads0.push_back(cpuOf(QStringLiteral("/proc/self/task/") + t));
    const double self0 = cpuOf(QStringLiteral("/proc/self"));
    const double lame0 = cpuOf(QStringLiteral("/proc/%1").arg(lame));
    const double start = wall();
    runFor(seconds);
    const double minutes = (wall() - start) / 60;
    const double self = (cpuOf(QStringLiteral("/proc/self")) - self0) / minutes;
    const double encoder = (cpuOf(QStringLiteral("/proc/%1").arg(lame)) - lame0) / minutes;
    std::printf("in-process recording: this process %.3f CPU s/min, lame %.3f CPU s/min, ratio %.3f\n", self,
                encoder, self / encoder);
    for (qsizetype i = 0; i < threads.size(); ++i) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(threads[i]));
        comm.open(QIODevice::ReadOnly);
        std::printf(
            "  thread %-20s %.3f CPU s/min\n", comm.readAll().trimmed().constData(),
            (cpuOf(QStringLiteral("/proc/self/task/") + threads[static_cast<qsizetype>(i)]) - threads0[i]) /
                minutes);
    }
    program.form.recordingControl().bStopClick();
    runFor(1.0);
    return 0;
}

// Leading quiet frames of the decoded file, which the onset must not be charged with.
long leadFrames(const QString& file) {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr || mpg123_open(handle, QFile::encodeName(file).constData()) != MPG123_OK)
        return 0;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    std::vector<unsigned char> buffer(16384);
    long frames = 0;
    size_t done = 0;
    bool found = false;
    while (!found && mpg123_read(handle, buffer.data(), buffer.size(), &done) == MPG123_OK) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer.data());
        for (size_t i = 0; i < done / 2; i += static_cast<size_t>(channels), ++frames)
            if (std::abs(samples[i]) > Quiet) {
                found = true;
                break;
            }
    }
    mpg123_delete(handle);
    return rate > 0 ? frames * Rate / rate : 0;
}

// Reads the sink's monitor through parec and notes the onset of sound and the gaps after it.
class Monitor {
public:
    Monitor() {
        pipe_ = popen("exec parec --latency-msec=5 -d null_out.monitor --raw --format=s16le --rate=44100 "
                      "--channels=1",
                      "r");
        if (pipe_ != nullptr)
            reader_ = std::thread([this] { read(); });
    }
    ~Monitor() {
        stop_ = true;
        if (pipe_ != nullptr) {
            std::system("pkill -P $PPID -x parec >/dev/null 2>&1 || true"); // only our own parec
            reader_.join();
            pclose(pipe_);
        }
    }
    bool ok() const { return pipe_ != nullptr; }
    void arm() {
        onset_ = 0;
        gaps_ = 0;
        counting_ = false;
        armed_ = true;
    }
    // Gaps are counted from the onset until this is called.
    void endCounting() { counting_ = false; }
    double onset() const { return onset_.load(); }
    int gaps() const { return gaps_.load(); }

private:
    void read() {
        std::int16_t chunk[128];
        long quietRun = 0;
        while (!stop_) {
            const size_t got = fread(chunk, sizeof(std::int16_t), 128, pipe_);
            if (got == 0)
                break;
            const double now = wall();
            for (size_t i = 0; i < got; ++i) {
                const bool sound = std::abs(chunk[i]) > Quiet;
                if (armed_ && sound) {
                    armed_ = false;
                    onset_ = now - static_cast<double>(got - i) / Rate;
                    counting_ = true;
                    quietRun = 0;
                } else if (counting_) {
                    quietRun = sound ? 0 : quietRun + 1;
                    if (quietRun == GapFrames)
                        ++gaps_;
                }
            }
        }
    }

    FILE* pipe_ = nullptr;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> armed_{false};
    std::atomic<bool> counting_{false};
    std::atomic<double> onset_{0};
    std::atomic<int> gaps_{0};
};

int latency(const QString& file, int rounds, double playSeconds, double restSeconds) {
    const std::unique_ptr<AudioLibrary> audio = createAudioLibrary();
    if (!audio->Init(-1, Rate, AudioLibrary::DeviceMono)) {
        std::printf("no playback device\n");
        return 1;
    }
    Monitor monitor;
    if (!monitor.ok())
        return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double lead = static_cast<double>(leadFrames(file)) / Rate;
    std::vector<double> times;
    int gaps = 0;
    int missed = 0;
    for (int i = 0; i < rounds; ++i) {
        const AudioHandle stream = audio->StreamCreateFile(file);
        std::this_thread::sleep_for(std::chrono::duration<double>(restSeconds));
        // Spread the starts over the device period.
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + i * 37 % 97));
        monitor.arm();
        const double start = wall();
        audio->ChannelPlay(stream, false);
        std::this_thread::sleep_for(std::chrono::duration<double>(playSeconds));
        monitor.endCounting();
        if (monitor.onset() > 0)
            times.push_back(monitor.onset() - start - lead);
        else
            ++missed;
        gaps += monitor.gaps();
        audio->ChannelStop(stream);
        audio->StreamFree(stream);
    }
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? 0 : times[times.size() / 2];
    const double worst = times.empty() ? 0 : times.back();
    std::printf("%.1f %.1f %d %d %.1f\n", median * 1000, worst * 1000, gaps, missed, lead * 1000);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kandolor"));
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("bare")) {
        QWidget window;
        window.resize(800, 600);
        window.show();
        return QApplication::exec();
    }
    if (mode == QLatin1String("where"))
        return where();
    if (mode == QLatin1String("record") && argc > 2)
        return record(std::atof(argv[2]));
    if (mode == QLatin1String("latency") && argc > 5)
        return latency(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atof(argv[4]),
                       std::atof(argv[5]));
    std::fprintf(
        stderr,
        "usage: bench_lean bare | where | record SECONDS | latency FILE ROUNDS PLAYSECONDS RESTSECONDS\n");
    return 2;
}
