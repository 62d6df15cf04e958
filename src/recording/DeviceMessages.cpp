#include "recording/DeviceMessages.h"
#include "settings/UiTexts.h"

#include <cmath>

namespace recording {

QString NoOutputDeviceMessage() {
    return uiText(UiText::NoOutputDevice);
}

QString NoInputDeviceMessage() {
    return uiText(UiText::NoInputDevice);
}

QString InputMissingMessage(double seconds) {
    const long whole = std::lround(seconds);
    if (whole < 1)
        return QString();
    return uiText(UiText::InputWasMissing,
                  whole == 1 ? uiText(UiText::OneSecond) : uiText(UiText::Seconds, QString::number(whole)));
}

} // namespace recording
