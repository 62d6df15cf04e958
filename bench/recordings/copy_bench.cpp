// Copies a file of a 60-minute recording's size (21.6 MB at 48 kbit/s) onto an ext4 volume on a loop device
// with the durable copier, against `cp` and `sync` of the same file, alternating, in the same run. Then
// times the deletion pass over many recordings of the system's own, none old enough, against opening each
// file and reading its first ten bytes. Prints medians and ratios.
// Usage: bench_copy [megabytes] [rounds] [recordings]
#include "TagBytes.h"
#include "platform/DurableFileCopier.h"
#include "recordings/OldRecordings.h"
#include "support/PrivateMounts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int benchCopy(double megabytes, int rounds) {
    QTemporaryDir scratch;
    const QString source = scratch.filePath(QStringLiteral("Vortrag.mp3"));
    QByteArray data(static_cast<qsizetype>(megabytes * 1e6), Qt::Uninitialized);
    for (char& byte : data)
        byte = static_cast<char>(QRandomGenerator::global()->generate());
    if (!writeFile(source, data))
        return 1;
    TestVolume volume(scratch.filePath(QStringLiteral("stick")), TestVolume::Ext4, QStringLiteral("STICK"),
                      QStringLiteral("%1M").arg(static_cast<int>(megabytes * 2.5) + 16));
    if (volume.path.isEmpty()) {
        std::printf("copy: skipped, %s\n", qPrintable(volume.skipReason));
        return 0;
    }
    DurableFileCopier copier;
    std::vector<double> ours, cpSync;
    for (int round = 0; round < rounds; ++round) {
        const QString target = volume.path + QStringLiteral("/Vortrag.mp3");
        QProcess::execute(QStringLiteral("sync"), {});
        QElapsedTimer timer;
        timer.start();
        const CopyOutcome outcome = copier.copy(source, target, false);
        ours.push_back(timer.nsecsElapsed() / 1e6);
        if (outcome.result != CopyResult::Done) {
            std::fprintf(stderr, "the copy failed: %s\n", qPrintable(outcome.detail));
            return 1;
        }
        QFile::remove(target);
        QProcess::execute(QStringLiteral("sync"), {});
        timer.restart();
        QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1\" && sync"), source, target});
        cpSync.push_back(timer.nsecsElapsed() / 1e6);
        QFile::remove(target);
    }
    const double o = median(ours), c = median(cpSync);
    std::printf("copy of %.1f MB to a loop-mounted ext4 volume, median of %d rounds\n", megabytes, rounds);
    std::printf("cp + sync          %9.1f ms\n", c);
    std::printf("durable copy       %9.1f ms   ratio %.2f\n", o, o / c);
    return 0;
}

int benchDeletion(int count) {
    QTemporaryDir folder;
    const QByteArray tag =
        TagBytes::tag(3, TagBytes::frame("TALB", QByteArray(1, '\0') + "Kandolor Max_Muster"), 512);
    for (int i = 0; i < count; ++i)
        if (!writeFile(folder.filePath(QStringLiteral("Vortrag_%1.mp3").arg(i, 4, 10, QLatin1Char('0'))),
                       tag + QByteArray(4096, '\xFF')))
            return 1;
    const DateTime today = toDateTime(QDateTime::currentDateTime());
    std::vector<double> pass, headers;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QStringList doomed =
            recordings::OldRecordingsToDelete(folder.path() + QLatin1Char('/'), today, 30, {});
        pass.push_back(timer.nsecsElapsed() / 1e3 / count);
        if (!doomed.isEmpty())
            return 1;
        timer.restart();
        for (const QString& name : QDir(folder.path()).entryList({QStringLiteral("*.mp3")}, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly) || file.read(10).size() != 10)
                return 1;
        }
        headers.push_back(timer.nsecsElapsed() / 1e3 / count);
    }
    const double p = median(pass), h = median(headers);
    std::printf("deletion pass over %d recordings, median of 5 rounds, per file\n", count);
    std::printf("open and read 10 bytes %7.1f us\n", h);
    std::printf("deletion pass          %7.1f us   ratio %.2f\n", p, p / h);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(0.1, atof(argv[1])) : 21.6;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const int count = argc > 3 ? std::max(1, atoi(argv[3])) : 1000;
    if (const int failed = benchCopy(megabytes, rounds))
        return failed;
    return benchDeletion(count);
}
