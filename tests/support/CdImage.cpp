#include "support/CdImage.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

constexpr int SectorBytes = 2352;
constexpr int SectorFrames = 588;

QString cueTime(int sector) {
    return QString::asprintf("%02d:%02d:%02d", sector / (60 * 75), sector / 75 % 60, sector % 75);
}

QString fileError(const QFile& file) {
    return file.fileName() + QStringLiteral(": ") + file.errorString();
}

} // namespace

namespace CdImage {

std::int16_t sample(int sector, int frameInSector, int channel) {
    const auto index =
        (static_cast<std::uint32_t>(sector) * SectorFrames + static_cast<std::uint32_t>(frameInSector)) * 2 +
        static_cast<std::uint32_t>(channel);
    return static_cast<std::int16_t>((index * 2654435761u) >> 16);
}

QString write(const QString& folder, const QString& name, const std::vector<Track>& tracks,
              const std::vector<Range>& filled, QString& error) {
    if (tracks.empty() || tracks.size() > 99) {
        error = QStringLiteral("1 to 99 tracks");
        return {};
    }
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(name);
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Track& track = tracks[i];
        if (track.sectors <= 0 || track.startSector < 0 ||
            (i > 0 && track.startSector != tracks[i - 1].startSector + tracks[i - 1].sectors)) {
            error = QStringLiteral("track %1 does not follow the one before").arg(i + 1);
            return {};
        }
        cue += QStringLiteral("  TRACK %1 %2\n    INDEX 01 %3\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(track.audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"))
                   .arg(cueTime(track.startSector));
    }
    const qint64 totalSectors = qint64(tracks.back().startSector) + tracks.back().sectors;

    QFile bin(QDir(folder).filePath(name + QStringLiteral(".bin")));
    // resize() leaves a hole: the silence costs no writes.
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate) || !bin.resize(totalSectors * SectorBytes)) {
        error = fileError(bin);
        return {};
    }
    QByteArray sector(SectorBytes, '\0');
    for (const Range& range : filled) {
        if (range.first < 0 || range.count < 0 || range.first + qint64(range.count) > totalSectors) {
            error = QStringLiteral("sectors %1 + %2 lie outside the image").arg(range.first).arg(range.count);
            return {};
        }
        if (!bin.seek(qint64(range.first) * SectorBytes)) {
            error = fileError(bin);
            return {};
        }
        for (int s = range.first; s < range.first + range.count; ++s) {
            auto* out = reinterpret_cast<uchar*>(sector.data());
            for (int frame = 0; frame < SectorFrames; ++frame)
                for (int channel = 0; channel < 2; ++channel)
                    qToLittleEndian(sample(s, frame, channel), out + (frame * 2 + channel) * 2);
            if (bin.write(sector) != SectorBytes) {
                error = fileError(bin);
                return {};
            }
        }
    }
    if (!bin.flush()) {
        error = fileError(bin);
        return {};
    }
    bin.close();

    QFile cueFile(QDir(folder).filePath(name + QStringLiteral(".cue")));
    if (!cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate) || cueFile.write(cue.toUtf8()) < 0) {
        error = fileError(cueFile);
        return {};
    }
    return cueFile.fileName();
}

} // namespace CdImage
