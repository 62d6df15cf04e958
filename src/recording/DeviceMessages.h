#pragma once

#include <QString>

// What the operator is told about missing sound devices.
namespace recording {

// No playback device (the sound server has not started yet, no card): nothing can be played now.
QString NoOutputDeviceMessage();
// No recording device: the recording waits for it.
QString NoInputDeviceMessage();
// At the stop of a recording whose input was missing for `seconds` in all; empty when that rounds to 0.
QString InputMissingMessage(double seconds);

} // namespace recording
