// Retags a 60-minute 48 kbit/s MP3-like file (a tag as the encoder writes it, then 21.6 MB of MPEG frames
// with random payload) by rebuild and in place, and copies the same file, in the same run; prints the
// median times and their ratios to the copy. Usage: bench_id3_retag [folder] [rounds]
#include "../support/PrintingDialogs.h"
#include "id3/TID3v2Tag.h"
#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr qint64 AudioBytes = 60LL * 60 * 48000 / 8; // 21 600 000

QByteArray frameV3(const char* id, const QByteArray& content) {
    QByteArray f(id);
    const auto n = static_cast<quint32>(content.size());
    for (int shift : {24, 16, 8, 0})
        f.append(static_cast<char>((n >> shift) & 0xFF));
    return f + QByteArray(2, '\0') + content;
}

// A v2.3 tag like the encoder's, with the given padding.
QByteArray encoderTag(int padding) {
    QByteArray body = frameV3("TSSE", QByteArray("\0LAME 3.100", 11)) +
                      frameV3("TIT2", QByteArray("\0Aufnahme", 9)) +
                      frameV3("TLEN", QByteArray("\0003600000", 8));
    const auto size = static_cast<quint32>(body.size() + padding);
    QByteArray header("ID3\x03\0\0", 6);
    for (int shift : {21, 14, 7, 0})
        header.append(static_cast<char>((size >> shift) & 0x7F));
    return header + body + QByteArray(padding, '\0');
}

// MPEG-1 layer III frames of 48 kbit/s at 44.1 kHz (156 or 157 bytes) with random payload.
QByteArray mpegLikeAudio() {
    QByteArray audio(AudioBytes, Qt::Uninitialized);
    std::mt19937 random(42);
    for (qint64 i = 0; i < AudioBytes; ++i)
        audio[i] = static_cast<char>(random() & 0xFF);
    for (qint64 pos = 0, n = 0; pos + 4 <= AudioBytes; pos += 156 + (n++ % 10 < 7 ? 1 : 0)) {
        audio[pos] = '\xFF';
        audio[pos + 1] = '\xFB';
        audio[pos + 2] = '\x30';
        audio[pos + 3] = '\xC4';
    }
    return audio;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The changes and the write that a finished recording gets.
void retag(TID3v2Tag& tag, const QString& path) {
    tag.ReadFromFile(path);
    tag.SetTitle(QStringLiteral("Öffentlicher Vortrag: Wer ist ein wahrer Freund?"));
    tag.SetArtist(QStringLiteral("Max Mustermann"));
    tag.SetComment(QStringLiteral("Teil 1"));
    tag.SetAlbum(QStringLiteral("Kandolor Max"));
    tag.SetYear(QStringLiteral("2026"));
    const TMP3Error result = tag.WriteToFile(path);
    if (result != MP3ERR_None) {
        std::fprintf(stderr, "retag failed: %d\n", result);
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/id3bench-XXXXXX")
                                   : QDir::tempPath() + QStringLiteral("/id3bench-XXXXXX"));
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "cannot create a scratch folder\n");
        return 1;
    }
    PrintingDialogs dialogs;
    SystemFolders folders;
    const QByteArray audio = mpegLikeAudio();
    const QString rebuildSource = scratch.filePath(QStringLiteral("rebuild.src"));
    const QString inPlaceSource = scratch.filePath(QStringLiteral("inplace.src"));
    const QString target = scratch.filePath(QStringLiteral("file.mp3"));
    writeFile(rebuildSource, encoderTag(0) + audio); // no padding, as the encoder writes it: rebuilt
    writeFile(inPlaceSource, encoderTag(2048) + audio);

    const auto timed = [&](const QString& source, const std::function<void()>& action) {
        QFile::remove(target);
        QFile::copy(source, target);
        QElapsedTimer timer;
        timer.start();
        action();
        return timer.nsecsElapsed() / 1e6;
    };
    std::vector<double> copy, rebuild, inPlace;
    for (int round = 0; round < rounds; ++round) {
        const QString copied = scratch.filePath(QStringLiteral("copy.mp3"));
        copy.push_back(timed(rebuildSource, [&] {
            QFile::remove(copied);
            QFile::copy(target, copied);
        }));
        rebuild.push_back(timed(rebuildSource, [&] {
            TID3v2Tag tag(dialogs, folders);
            retag(tag, target);
        }));
        inPlace.push_back(timed(inPlaceSource, [&] {
            TID3v2Tag tag(dialogs, folders);
            retag(tag, target);
        }));
    }
    const double c = median(copy), r = median(rebuild), p = median(inPlace);
    std::printf("file: %.1f MB in %s (temporary files in %s), median of %d rounds\n",
                (AudioBytes + encoderTag(0).size()) / 1e6, qPrintable(scratch.path()),
                qPrintable(folders.tempFolder()), rounds);
    std::printf("plain copy      %8.2f ms\n", c);
    std::printf("retag rebuild   %8.2f ms   ratio to copy %.2f\n", r, r / c);
    std::printf("retag in place  %8.2f ms   ratio to copy %.4f\n", p, p / c);
    return 0;
}
