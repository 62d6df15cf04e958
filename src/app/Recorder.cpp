#include "Recorder.h"

#include "TForm1.h"
#include "common/Dialogs.h"
#include "ui_TForm1.h"

namespace {
// Replaced by the recording subsystem's error names.
QString deviceStartMessage(int outputCode, int recordCode) {
    return QStringLiteral("Start default output device: %1\rStart default recording device: %2")
        .arg(outputCode)
        .arg(recordCode);
}
} // namespace

Recorder::Recorder(TForm1& form) : form_(form), audio_(form.services().audio) {}

void Recorder::InitRecording() {
    Dialogs& dialogs = form_.services().dialogs;
    if ((audio_.GetVersion() >> 16) != 0x0204) {
        dialogs.error(QString(), QStringLiteral("An incorrect version of BASS.DLL was loaded"));
        return;
    }
    audio_.RecordInit(-1);
    const int recordCode = audio_.ErrorGetCode();
    audio_.Init(-1, 44100, AudioLibrary::DeviceMono);
    const int outputCode = audio_.ErrorGetCode();
    if (outputCode != 0 || recordCode != 0) {
        audio_.Free();
        audio_.RecordFree();
        dialogs.error(QString(), deviceStartMessage(outputCode, recordCode));
        return;
    }
    QComboBox* inputs = form_.form().ComboBox5;
    for (int i = 0;; ++i) {
        const std::optional<QString> name = audio_.RecordGetInputName(i);
        if (!name)
            break;
        inputs->addItem(*name);
        if ((audio_.RecordGetInput(i) & AudioLibrary::InputOff) == 0)
            inputs->setCurrentIndex(i);
    }
    RecordingRequested = false;
}

void Recorder::ReleaseAudio() {
    audio_.RecordFree();
    audio_.Free();
    audio_.Stop();
}
