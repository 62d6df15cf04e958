#include "playback/CdTracks.h"

#include <QRegularExpression>

namespace playback {

namespace {
QString fileName(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
} // namespace

bool IsCdTrackPath(const QString& path) {
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot) == QLatin1String(".cda");
}

std::optional<int> CdTrackNumberOf(const QString& path) {
    static const QRegularExpression pattern(QStringLiteral("Track(\\d\\d)"));
    const QRegularExpressionMatch match = pattern.match(fileName(path));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

QString CdTrackPath(const QString& device, int number) {
    return device + QStringLiteral("/Track") + twoDigits(number) + QStringLiteral(".cda");
}

Msf CdStartPosition(Msf trackStart, int markSeconds) {
    const int m = markSeconds / 60;
    const int s = markSeconds - 60 * m + trackStart.seconds;
    return {s / 60 + trackStart.minutes + m, s % 60, trackStart.frames};
}

int CdTrackLengthValue(Msf length) {
    return (length.minutes * 60 + length.seconds) * 1000 + length.frames;
}

QString CdLengthText(Msf length) {
    return twoDigits(length.minutes) + QLatin1Char(':') + twoDigits(length.seconds);
}

int CdElapsedSeconds(Msf position, Msf trackStart) {
    return (position.minutes * 60 + position.seconds) - (trackStart.minutes * 60 + trackStart.seconds);
}

QString NameBeforeFirstDot(const QString& path) {
    return fileName(path).section(QLatin1Char('.'), 0, 0);
}

} // namespace playback
