#include "RecordingStatus.h"

#include "EncoderFault.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <cmath>

namespace recording {

int MinutesOfRoom(std::int64_t freeBytes) {
    return freeBytes < 0 ? -1 : static_cast<int>(freeBytes / RecordingBytesPerMinute);
}

QString NoRoomMessage(const QString& folder, bool running) {
    return uiText(running ? UiText::NoRoomStopped : UiText::NoRoomNotStarted, folder,
                  QString::number(StopMinutes));
}

QString LostAudioMessage(double seconds) {
    return uiText(UiText::LostAudio, QString::number(std::ceil(seconds), 'f', 0));
}

bool SilenceWatch::update(double seconds, int level) {
    const double step = seconds >= last_ ? seconds - last_ : seconds;
    last_ = seconds;
    silentFor_ = level >= 0 && level < SilenceLevel ? silentFor_ + step : 0;
    return silentFor_ >= SilenceSeconds;
}

QString StatusText(const RecordingStatus& status) {
    if (status.minutesOfRoom >= 0 && status.minutesOfRoom < WarnMinutes)
        return uiText(UiText::StatusRoomLow, QString::number(status.minutesOfRoom));
    if (status.encoderRestarted)
        return EncoderRestartedStatus();
    if (status.silent)
        return uiText(UiText::StatusNoSignal);
    if (status.encoderBehind)
        return uiText(UiText::StatusEncoderBehind);
    return QString();
}

QString FolderGoneMessage(const QString& lost, const QString& folder, bool remade, bool goesOn) {
    const QChar cr(u'\r');
    const QString gone = uiText(UiText::FolderGone, lost);
    if (folder.isEmpty())
        return gone + cr + uiText(UiText::FolderGoneNoFallback);
    const QString where = remade ? uiText(UiText::FolderRemade) : uiText(UiText::FolderNotRemade, folder);
    return gone + cr + where + cr +
           uiText(goesOn ? UiText::FolderGoneGoesOn : UiText::FolderGoneKept, folder);
}

QString FolderGoneStatus(const QString& folder) {
    // The message box names the whole path; the status line has room for the folder's own name.
    const QString name = QDir(folder).dirName();
    return uiText(UiText::FolderGoneStatus, name);
}

QString FinishingText() {
    return uiText(UiText::FinishingStatus);
}

} // namespace recording
