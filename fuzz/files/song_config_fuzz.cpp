// The song configuration (first byte even) or the older .ini (odd): reading never fails but on a count that
// is no integer, the count is one the picker can hold, and what is written reads back the same.
#include "app/Settings.h"
#include "common/KandolorError.h"
#include "common/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const bool legacy = data[0] % 2 == 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    SongConfig c;
    try {
        SettingsFormat::readSongConfig(TextFile::decodeLines(bytes), c, legacy);
    } catch (const KandolorError&) {
        return 0;
    }
    if (c.liedanzahl < 1 || c.liedanzahl > 999 || c.SongFileExt.size() > 4)
        std::abort();
    SongConfig again;
    SettingsFormat::readSongConfig(SettingsFormat::writeSongConfig(c), again, false);
    if (SettingsFormat::writeSongConfig(again) != SettingsFormat::writeSongConfig(c))
        std::abort();
    return 0;
}
