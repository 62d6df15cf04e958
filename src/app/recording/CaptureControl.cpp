#include "app/recording/CaptureControl.h"

#include "app/TForm1.h"
#include "app/recording/LevelBarView.h"
#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingFields.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "recording/BassErrorNames.h"
#include "recording/DeviceMessages.h"
#include "recording/EncoderCommandLine.h"
#include "recording/EncoderFault.h"
#include "recording/RecordingStatus.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

CaptureControl::CaptureControl(TForm1& form) : form_(form), audio_(form.services().audio) {
    Ui::TForm1& ui = form_.form();
    form_.on(ui.ComboBox5, &QComboBox::activated, [this] { SelectInput(); });
    form_.on(ui.TrackBar2, &QSlider::valueChanged, [this] { ApplyInputLevel(); });
    form_.on(ui.Button5, &QPushButton::clicked, [this] { Button5Click(); });
    form_.on(ui.Button6, &QPushButton::clicked, [this] { Button6Click(); });
    startCheck_.setInterval(100);
    form_.on(&startCheck_, &QTimer::timeout, [this] { watchOutputAtStart(); });
}

void CaptureControl::InitRecording() {
    Dialogs& dialogs = form_.services().dialogs;
    if ((audio_.GetVersion() >> 16) != 0x0204) {
        dialogs.error(QString(), uiText(UiText::LibraryVersionWrong));
        return;
    }
    audio_.RecordInit(-1);
    const int recordCode = audio_.ErrorGetCode();
    audio_.Init(-1, 44100, AudioLibrary::DeviceMono);
    const int outputCode = audio_.ErrorGetCode();
    if (outputCode == 0)
        startCheck_.start();
    if (outputCode != 0 || recordCode != 0) {
        // Songs still play when only the recording device failed.
        if (outputCode != 0)
            audio_.Free();
        audio_.RecordFree();
        dialogs.error(QString(), recording::DeviceStartMessage(outputCode, recordCode));
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
    SelectInput();
    form_.recordingControl().clearRequest();
}

void CaptureControl::SelectInput() {
    for (int i = 0; audio_.RecordSetInput(i, AudioLibrary::InputOff, -1.0f); ++i) {
    }
    const int selected = form_.form().ComboBox5->currentIndex();
    audio_.RecordSetInput(selected, AudioLibrary::InputOn, -1.0f);
    QSlider* slider = form_.form().TrackBar2;
    const QSignalBlocker blocker(slider);
    slider->setValue(form_.settings().InputVolume);
    ApplyInputLevel();
}

void CaptureControl::ApplyInputLevel() {
    const int position = form_.form().TrackBar2->value();
    audio_.RecordSetInput(form_.form().ComboBox5->currentIndex(), AudioLibrary::InputOn,
                          recording::InputVolumeOf(position));
    form_.settings().InputVolume = position;
    form_.form().Label27->setText(QString::number(position));
}

void CaptureControl::Button5Click() {
    QSlider* slider = form_.form().TrackBar2;
    slider->setValue(recording::VolumeStepDown(slider->value()));
}

void CaptureControl::Button6Click() {
    QSlider* slider = form_.form().TrackBar2;
    slider->setValue(recording::VolumeStepUp(slider->value()));
}

bool CaptureControl::channelActive() const {
    return audio_.ChannelIsActive(RecordChannel) != AudioLibrary::Stopped;
}

bool CaptureControl::encoderGone() const {
    return channelActive() && audio_.EncodeIsActive(EncoderHandle) == AudioLibrary::Stopped;
}

void CaptureControl::watchOutputAtStart() {
    // About 3 s for the first attempt; a device that is not there by then is told of once.
    constexpr int Checks = 30;
    const bool missing = audio_.DeviceMissing(AudioLibrary::OutputDevice);
    if (!missing && ++startChecks_ < Checks)
        return;
    startCheck_.stop();
    if (missing)
        form_.services().dialogs.showMessage(recording::NoOutputDeviceMessage());
}

bool CaptureControl::tellIfDeviceMissing(int device) {
    if (!audio_.DeviceMissing(device))
        return false;
    form_.services().dialogs.showMessage(device == AudioLibrary::RecordDevice
                                             ? recording::NoInputDeviceMessage()
                                             : recording::NoOutputDeviceMessage());
    return true;
}

double CaptureControl::inputMissingSeconds() const {
    return audio_.ChannelBytes2Seconds(RecordChannel, audio_.ChannelGetMissing(RecordChannel));
}

void CaptureControl::setRecordButtons(bool record, bool stop) {
    if (form_.form().autorec->isChecked())
        return;
    form_.form().bRecord->setEnabled(record);
    form_.form().bStop->setEnabled(stop);
}

void CaptureControl::StartCapture() {
    AppState& state = form_.state();
    Ui::TForm1& ui = form_.form();
    const QString folder = form_.settings().RecordingFolder;
    if (!form_.recordingFields().CheckRecordingFolder()) {
        form_.recordingControl().StartFailed();
        return;
    }
    const int room = recording::MinutesOfRoom(form_.services().folders.freeSpace(folder));
    if (room >= 0 && room < recording::StopMinutes) {
        form_.services().dialogs.showMessage(recording::NoRoomMessage(folder, false));
        form_.recordingControl().StartFailed();
        return;
    }
    form_.recordingFields().FixNameAtStart();
    const QString topic = ui.Thema->text();
    state.texte[0] = recording::FreeTempRecordingName(
        state.RecordingCounter, form_.settings().RecordingFolder, recording::ExistsOnDisk);
    RecordChannel = audio_.RecordStart(22050, 1, 0);
    if (RecordChannel == 0) {
        form_.services().dialogs.error(uiText(UiText::ErrorTitle), uiText(UiText::CannotStartRecording));
        form_.recordingControl().StartFailed();
        return;
    }
    const QString commandLine = recording::EncoderCommandLine(
        state.userinfo, topic, form_.settings().RecordingFolder, state.texte[0]);
    EncoderHandle = audio_.EncodeStart(RecordChannel, commandLine, AudioLibrary::EncodeUnicode);
    if (EncoderHandle == 0) {
        // Without an encoder nothing would be written: the recording does not go on as if it ran.
        audio_.ChannelStop(RecordChannel);
        form_.services().dialogs.showMessage(recording::EncoderStartMessage(recording::EncoderInstalled()));
        form_.recordingControl().StartFailed();
        return;
    }
    form_.recordingControl().recordingFileStarted(folder, state.texte[0]);
    setRecordButtons(false, true);
}

void CaptureControl::StopCapture() {
    audio_.ChannelStop(RecordChannel);
    setRecordButtons(true, false);
}

void CaptureControl::LevelTick() {
    Ui::TForm1& ui = form_.form();
    const Settings& settings = form_.settings();
    const recording::LevelMonitor::Step step = levels.Tick(
        audio_.ChannelGetLevel(RecordChannel), ui.TrackBar2->value(), settings.AutoLevelReduction);
    ui.Label25->draw(step.level, step.meterPeak, settings.LevelWarnPixels, settings.LevelPeakPixels);
    if (step.lowerVolume)
        ui.TrackBar2->setValue(ui.TrackBar2->value() - 1);
}

void CaptureControl::ReleaseAudio() {
    audio_.RecordFree();
    audio_.Free();
    audio_.Stop();
}
