#include "app/recording/RecordingControl.h"

#include "app/TForm1.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/LevelBarView.h"
#include "app/recording/RecordingFields.h"
#include "app/recording/RecordingFinisher.h"
#include "app/recordings/DriveList.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "recording/AutoRecording.h"
#include "recording/DeviceMessages.h"
#include "recording/EncoderCommandLine.h"
#include "recording/EncoderFault.h"
#include "recording/RecordingFolder.h"
#include "recording/RecordingStatus.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

#include <QFileInfo>

RecordingControl::RecordingControl(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    PosTimer.setInterval(50);
    form_.on(ui.bRecord, &QToolButton::clicked, [this] { bRecordClick(); });
    form_.on(ui.bStop, &QToolButton::clicked, [this] { bStopClick(); });
    form_.on(ui.BitBtn4, &QPushButton::clicked, [this] { BitBtn4Click(); });
    form_.on(ui.autorec, &QCheckBox::toggled, [this] { autorecClick(); });
    form_.on(&PosTimer, &QTimer::timeout, [this] { PosTimerTimer(); });
    for (const auto& [item, minutes] : splitMenu())
        form_.on(item, &QAction::triggered, [this, minutes = minutes] { setSplitMinutes(minutes); });
}

std::array<std::pair<QAction*, int>, 5> RecordingControl::splitMenu() const {
    Ui::TForm1& ui = form_.form();
    return {{{ui.Nein, 100}, {ui.N10min, 10}, {ui.N20min, 20}, {ui.N30min, 30}, {ui.N40min, 40}}};
}

void RecordingControl::bRecordClick() {
    const bool start = session_.RecordClick(form_.capture().channelActive());
    PosTimer.start();
    form_.form().BitBtn4->setText(form_.uiTexts().at(UiText::Stop));
    form_.form().BitBtn4->setProperty("Tag", 1);
    form_.form().rec->setEnabled(true);
    if (start)
        form_.capture().StartCapture();
}

void RecordingControl::RequestRecording() {
    form_.form().rec->setEnabled(true);
    if (session_.RequestRecording(form_.capture().channelActive()))
        form_.capture().StartCapture();
}

void RecordingControl::bStopClick() {
    stopControls();
    FinishRecording();
    form_.form().rec->hide();
    form_.form().Label25->clear();
    showFinishing();
}

void RecordingControl::showFinishing() {
    if (form_.finisher().busy() && !session_.RecordingRequested)
        form_.form().lStatus->setText(recording::FinishingText());
}

void RecordingControl::finishingDone() {
    QLabel* status = form_.form().lStatus;
    if (status->text() == recording::FinishingText())
        status->clear();
}

void RecordingControl::StartFailed() {
    stopControls();
    session_.RecordingFinished();
    form_.form().rec->setEnabled(false);
    form_.form().rec->hide();
    autorecClick();
}

void RecordingControl::stopControls() {
    Ui::TForm1& ui = form_.form();
    session_.StopClick();
    PosTimer.stop();
    ui.BitBtn4->setText(form_.uiTexts().at(UiText::Recording));
    ui.BitBtn4->setProperty("Tag", 0);
    ui.lStatus->clear();
    notice_.clear();
    toldNoInputDevice_ = false;
    silence_.reset();
    minutesOfRoom_ = -1;
    roomCheckedAt_ = -recording::RoomCheckSeconds;
}

void RecordingControl::BitBtn4Click() {
    if (session_.BitBtn4Click() == recording::RecordingSession::BigButton::Stop)
        bStopClick();
    else
        bRecordClick();
}

void RecordingControl::autorecClick() {
    Ui::TForm1& ui = form_.form();
    const recording::RecordButtons buttons =
        recording::AutorecButtons(ui.autorec->isChecked(), session_.RecordingRequested);
    ui.bRecord->setEnabled(buttons.bRecord);
    ui.bStop->setEnabled(buttons.bStop);
    ui.BitBtn4->setEnabled(buttons.BitBtn4);
}

void RecordingControl::setSplitMinutes(int minutes) {
    form_.settings().SplitMinutes = minutes;
    checkSplitItem(minutes);
}

void RecordingControl::checkSplitItem(int minutes) {
    for (const auto& [item, value] : splitMenu())
        item->setChecked(value == minutes);
}

void RecordingControl::PosTimerTimer() {
    Ui::TForm1& ui = form_.form();
    CaptureControl& capture = form_.capture();
    AudioLibrary& audio = form_.services().audio;
    const double seconds =
        audio.ChannelBytes2Seconds(capture.RecordChannel, audio.ChannelGetPosition(capture.RecordChannel));
    const recording::RecordingSession::TimeDecision time =
        session_.TimeStep(seconds, form_.settings().SplitMinutes);
    if (time.split) {
        FinishRecording();
        RequestRecording();
        if (!session_.RecordingRequested) { // the next file could not start
            ui.lpos->setText(time.lpos);
            return;
        }
    }
    if (capture.encoderGone() && !encoderFailed(seconds))
        return;
    if (file_ && file_->tick(seconds)) {
        folderVanished();
        return;
    }
    if (seconds < roomCheckedAt_ || seconds - roomCheckedAt_ >= recording::RoomCheckSeconds) {
        roomCheckedAt_ = seconds;
        const QString folder = form_.settings().RecordingFolder;
        minutesOfRoom_ = recording::MinutesOfRoom(form_.services().folders.freeSpace(folder));
        if (minutesOfRoom_ >= 0 && minutesOfRoom_ < recording::StopMinutes) {
            stopForFault(recording::NoRoomMessage(folder, true));
            return;
        }
    }
    const bool silent = silence_.update(seconds, audio.ChannelGetLevel(capture.RecordChannel));
    const bool behind =
        audio.ChannelBytes2Seconds(capture.RecordChannel, audio.EncodeGetQueued(capture.EncoderHandle)) >
        recording::EncoderBehindSeconds;
    const QString status = recording::StatusText({minutesOfRoom_, silent, behind, !earlierParts_.isEmpty()});
    ui.lStatus->setText(status.isEmpty() ? notice_ : status);
    ui.lpos->setText(time.lpos);
    capture.LevelTick();
    switch (session_.BlinkStep()) {
    case recording::Blink::Show:
        ui.rec->show();
        break;
    case recording::Blink::Hide:
        ui.rec->hide();
        break;
    case recording::Blink::None:
        break;
    }
    showInputLost(audio.ChannelIsActive(capture.RecordChannel) == AudioLibrary::Stalled);
    tellInputDeviceMissing();
}

void RecordingControl::tellInputDeviceMissing() {
    if (toldNoInputDevice_ || !form_.services().audio.DeviceMissing(AudioLibrary::RecordDevice))
        return;
    toldNoInputDevice_ = true;
    tell(recording::NoInputDeviceMessage());
}

void RecordingControl::tellInputMissingTime() {
    const QString message = recording::InputMissingMessage(form_.capture().inputMissingSeconds());
    if (!message.isEmpty())
        tell(message);
}

void RecordingControl::tell(const QString& message) {
    // Never inside the tick: the tick does not run again while a message box it opened is open, and a
    // recording that goes on needs its time, level, syncs and splits meanwhile.
    form_.tellLater(message);
}

void RecordingControl::recordingFileStarted(const QString& folder, const QString& tempName) {
    file_ = std::make_unique<recording::RecordingFile>(form_.services().files, folder, tempName);
}

void RecordingControl::folderVanished() {
    const QString lost = file_->folder();
    QString folder = lost;
    const bool remade = recording::RecordingFolderUnwritable(folder).isEmpty();
    if (!remade) {
        folder = form_.recordingFields().defaultFolder();
        if (!recording::RecordingFolderUnwritable(folder).isEmpty()) {
            stopForFault(recording::FolderGoneMessage(lost, QString(), false));
            return;
        }
        form_.settings().RecordingFolder = folder;
    }
    // A split: the capture goes on without a gap into a new file, and the finishing of the old one copies
    // what the encoder wrote out of the file the program holds.
    rescueFolder_ = folder;
    interrupted_ = true;
    FinishRecording();
    interrupted_ = false;
    RequestRecording();
    const bool goesOn = session_.RecordingRequested;
    if (goesOn) {
        notice_ = recording::FolderGoneStatus(form_.settings().RecordingFolder);
        form_.form().lStatus->setText(notice_);
    }
    tell(recording::FolderGoneMessage(lost, folder, remade, goesOn));
}

void RecordingControl::stopForFault(const QString& message) {
    interrupted_ = true;
    bStopClick();
    interrupted_ = false;
    form_.services().dialogs.showMessage(message);
}

bool RecordingControl::encoderFailed(double seconds) {
    const QString folder = form_.settings().RecordingFolder;
    // A disk filled meanwhile is what stopped the encoder; a new one would not get far.
    const int room = recording::MinutesOfRoom(form_.services().folders.freeSpace(folder));
    switch (recording::JudgeEncoderFault(room, restartedAt_ < 0 ? -1.0 : seconds - restartedAt_)) {
    case recording::EncoderFault::DiskFull:
        stopForFault(recording::NoRoomMessage(folder, true));
        return false;
    case recording::EncoderFault::FailedAgain:
        stopForFault(recording::EncoderFailedAgainMessage());
        return false;
    case recording::EncoderFault::Restart:
        break;
    }
    if (!restartEncoder()) {
        stopForFault(recording::EncoderRestartFailedMessage());
        return false;
    }
    restartedAt_ = seconds;
    return true;
}

bool RecordingControl::restartEncoder() {
    AppState& state = form_.state();
    CaptureControl& capture = form_.capture();
    handOverFields();
    recording::FinishJob job = finishJob();
    job.followed = true;
    const QString folder = form_.settings().RecordingFolder;
    int counter = state.RecordingCounter;
    const QString tempName = recording::FreeTempRecordingName(counter, folder, recording::ExistsOnDisk);
    const QString commandLine =
        recording::EncoderCommandLine(state.userinfo, form_.form().Thema->text(), folder, tempName);
    const AudioHandle next =
        form_.finisher().finishReplaced(std::move(job), capture.EncoderHandle, commandLine);
    if (next == 0)
        return false;
    // The new encoder writes the next part under a new temporary name, named at its finishing like the
    // file after a split.
    state.RecordingCounter = counter;
    earlierParts_ << state.texte[0];
    state.texte[0] = tempName;
    capture.EncoderHandle = next;
    recordingFileStarted(folder, tempName);
    form_.recordingFields().FixNameAtStart();
    return true;
}

void RecordingControl::showInputLost(bool lost) {
    // While the recording device is gone the engine keeps trying to open it again; the operator is told
    // in the blinking label, which stays on until the device is back.
    QLabel* rec = form_.form().rec;
    rec->setText(uiText(lost ? UiText::InputMissingStatus : UiText::Recording));
    if (lost)
        rec->show();
}

void RecordingControl::FinishRecording() {
    AppState& state = form_.state();
    Ui::TForm1& ui = form_.form();
    state.kopie = false;
    state.neu = false;
    session_.RecordingFinished();
    ui.rec->setEnabled(false);
    QStringList earlierParts = std::exchange(earlierParts_, {});
    restartedAt_ = -1;
    if (!form_.capture().channelActive()) {
        file_.reset();
        rescueFolder_.clear();
        return;
    }
    form_.capture().StopCapture();
    AudioLibrary& audio = form_.services().audio;
    const std::int64_t lost = audio.ChannelGetDropped(form_.capture().RecordChannel);
    handOverFields();
    // The finishing of the file (renaming, tagging, copies) works on its own copy of the hand-over.
    recording::FinishJob job = finishJob();
    job.earlierParts = std::move(earlierParts);
    form_.finisher().finish(std::move(job), form_.capture().EncoderHandle);
    file_.reset();
    rescueFolder_.clear();
    if (lost > 0)
        tell(recording::LostAudioMessage(audio.ChannelBytes2Seconds(form_.capture().RecordChannel, lost)));
    tellInputMissingTime();
}

void RecordingControl::handOverFields() {
    AppState& state = form_.state();
    Ui::TForm1& ui = form_.form();
    state.kopie = false;
    state.neu = false;
    // Extra copy targets: the first four checked entries of the drive list.
    const std::vector<recordings::DriveEntry> targets = form_.driveList().checkedEntries();
    for (std::size_t i = 0; i < state.copyFolders.size(); ++i) {
        const bool used = i < targets.size();
        state.texte[5 + i] = used ? targets[i].text() : QString();
        state.copyFolders[i] = used ? targets[i].folder : QString();
    }
    state.kopie = !targets.empty();
    state.texte[4] = ui.Datei->text();
    state.texte[10] = state.texte[0];
    if (ui.Thema->isModified() || ui.Redner->isModified() || ui.Datei->isModified() ||
        ui.Kommentar->isModified()) {
        state.neu = true;
        state.texte[1] = ui.Thema->text();
        state.texte[2] = ui.Redner->text();
        state.texte[3] = ui.Kommentar->text();
    }
}

recording::FinishJob RecordingControl::finishJob() const {
    const AppState& state = form_.state();
    recording::FinishJob job;
    job.folder = !rescueFolder_.isEmpty() ? rescueFolder_
                 : file_                  ? file_->folder()
                                          : form_.settings().RecordingFolder;
    job.held = file_ ? file_->held() : nullptr;
    job.tempName = state.texte[10];
    job.fileName = state.texte[4];
    job.neu = state.neu;
    job.topic = state.texte[1];
    job.speaker = state.texte[2];
    job.comment = state.texte[3];
    job.album = QStringLiteral("Kandolor ") + state.user;
    job.year = form_.recordingFields().defaults.DateString.left(4);
    for (std::size_t i = 0; i < job.targets.size(); ++i)
        job.targets[i] = state.copyFolders[i];
    job.kopie = state.kopie;
    job.interrupted = interrupted_;
    return job;
}
