#pragma once

#include <QString>

namespace recording {

// Name of an audio library error code -1..44 ("BASS_OK", "BASS_ERROR_DEVICE" …); empty for the codes of that
// range without a name and for every code outside it.
QString BassErrorNames(int code);

// How a code stands in the device start message: its name; a code outside -1..44, which has no entry, as its
// decimal number, so that the operator still sees which error it was.
QString BassErrorText(int code);

// "Start default output device: " + output code + CR + "Start default recording device: " + recording code.
QString DeviceStartMessage(int outputCode, int recordCode);

} // namespace recording
