#include "EncoderFault.h"

#include "RecordingStatus.h"
#include "settings/UiTexts.h"

#include <QStandardPaths>

namespace recording {

EncoderFault JudgeEncoderFault(int minutesOfRoom, double sinceRestart) {
    if (minutesOfRoom >= 0 && minutesOfRoom < StopMinutes)
        return EncoderFault::DiskFull;
    if (sinceRestart >= 0 && sinceRestart < RestartWindowSeconds)
        return EncoderFault::FailedAgain;
    return EncoderFault::Restart;
}

QString EncoderRestartedStatus() {
    return uiText(UiText::StatusEncoderRestarted);
}

QString EncoderFailedAgainMessage() {
    return uiText(UiText::EncoderFailedAgain);
}

QString EncoderRestartFailedMessage() {
    return uiText(UiText::EncoderRestartFailed);
}

QString EncoderStartMessage(bool installed) {
    return uiText(installed ? UiText::EncoderNotRunnable : UiText::EncoderNotInstalled);
}

bool EncoderInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty();
}

QString PartsMessage(const QStringList& files, bool interrupted) {
    const QString list = files.join(QLatin1Char(' ') + uiText(UiText::WordAnd) + QLatin1Char(' '));
    if (interrupted)
        return uiText(UiText::KeptSoFar, list);
    if (files.size() < 2)
        return uiText(UiText::EncoderRestartedKept, list);
    const QString count = files.size() == 2 ? uiText(UiText::WordTwo) : QString::number(files.size());
    return uiText(UiText::EncoderRestartedParts, count, list);
}

} // namespace recording
