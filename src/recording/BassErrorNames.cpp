#include "BassErrorNames.h"
#include "settings/UiTexts.h"

#include <iterator>

namespace recording {

namespace {
constexpr int FirstCode = -1;
// Entry i is the name of code i - 1.
const char* const Names[] = {
    "BASS_ERROR_UNKNOWN", // -1
    "BASS_OK",
    "BASS_ERROR_MEM",
    "BASS_ERROR_FILEOPEN",
    "BASS_ERROR_DRIVER",
    "BASS_ERROR_BUFLOST",
    "BASS_ERROR_HANDLE",
    "BASS_ERROR_FORMAT",
    "BASS_ERROR_POSITION",
    "BASS_ERROR_INIT",
    "BASS_ERROR_START", // 9
    "",
    "",
    "",
    "",
    "BASS_ERROR_ALREADY", // 14
    "",
    "BASS_ERROR_NOPAUSE", // 16
    "",
    "BASS_ERROR_NOCHAN", // 18
    "BASS_ERROR_ILLTYPE",
    "BASS_ERROR_ILLPARAM",
    "BASS_ERROR_NO3D",
    "BASS_ERROR_NOEAX",
    "BASS_ERROR_DEVICE",
    "BASS_ERROR_NOPLAY",
    "BASS_ERROR_FREQ", // 25
    "",
    "BASS_ERROR_NOTFILE", // 27
    "",
    "BASS_ERROR_NOHW", // 29
    "",
    "BASS_ERROR_EMPTY", // 31
    "BASS_ERROR_NONET",
    "BASS_ERROR_CREATE",
    "BASS_ERROR_NOFX",
    "BASS_ERROR_PLAYING", // 35
    "",
    "BASS_ERROR_NOTAVAIL", // 37
    "BASS_ERROR_DECODE",
    "BASS_ERROR_DX",
    "BASS_ERROR_TIMEOUT",
    "BASS_ERROR_FILEFORM",
    "BASS_ERROR_SPEAKER",
    "BASS_ERROR_VERSION",
    "BASS_ERROR_CODEC", // 44
};
constexpr int LastCode = FirstCode + static_cast<int>(std::size(Names)) - 1;
static_assert(LastCode == 44);

bool inTable(int code) {
    return code >= FirstCode && code <= LastCode;
}
} // namespace

QString BassErrorNames(int code) {
    if (!inTable(code))
        return QString();
    return QString::fromLatin1(Names[code - FirstCode]);
}

QString BassErrorText(int code) {
    return inTable(code) ? BassErrorNames(code) : QString::number(code);
}

QString DeviceStartMessage(int outputCode, int recordCode) {
    return uiText(UiText::DeviceStartFailed, BassErrorText(outputCode), BassErrorText(recordCode));
}

} // namespace recording
