#pragma once

#include "common/MediaDevice.h"

#include <QRegularExpression>
#include <QString>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <optional>

// Sectors, frames and track paths of audio CDs.
namespace cd {

constexpr int SectorsPerSecond = 75;
constexpr int FramesPerSector = 588; // stereo 16-bit frames at 44100 Hz
constexpr int BytesPerSector = 2352;
// Disc positions (MSF) count the two-second lead-in that sector numbers (LSN) leave out.
constexpr int LeadInSectors = 150;

// Sectors of an MSF length (or of a disc position, lead-in included).
constexpr int sectors(Msf msf) {
    return (msf.minutes * 60 + msf.seconds) * SectorsPerSecond + msf.frames;
}

constexpr Msf msf(int sectors) {
    return {sectors / (60 * SectorsPerSecond), sectors / SectorsPerSecond % 60, sectors % SectorsPerSecond};
}

// The disc position of sector `lsn`.
constexpr Msf discPosition(int lsn) {
    return msf(lsn + LeadInSectors);
}

// The device and track number of `<device>/TrackNN.cda`.
struct TrackPath {
    QString device;
    int number = 0;
};

inline std::optional<TrackPath> parseTrackPath(const QString& path) {
    static const QRegularExpression name(QStringLiteral("^Track([0-9]+)\\.cda$"));
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash <= 0)
        return std::nullopt;
    const QRegularExpressionMatch match = name.match(QStringView(path).mid(slash + 1));
    bool isNumber = false;
    const int number = match.hasMatch() ? match.captured(1).toInt(&isNumber) : 0;
    if (!isNumber)
        return std::nullopt;
    return TrackPath{path.left(slash), number};
}

inline cdio_log_handler_t defaultCdioLog = nullptr;

// Sets libcdio's drivers up, once for every thread (it would on first use, racing). Its warnings (an empty
// drive, a missing file) are dropped: the callers report what went wrong.
inline void initCdio() {
    static const bool initialised = [] {
        defaultCdioLog = cdio_log_set_handler([](cdio_log_level_t level, const char* message) {
            if (level == CDIO_LOG_ASSERT && defaultCdioLog)
                defaultCdioLog(level, message);
        });
        return cdio_init();
    }();
    (void)initialised;
}

} // namespace cd
