#include "app/TForm1.h"

#include "app/StartupRules.h"
#include "app/music/MeetingClock.h"
#include "app/music/MusicBlock.h"
#include "app/playback/OtherSource.h"
#include "app/playback/Player.h"
#include "app/playback/StartMelody.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingFields.h"
#include "app/recording/RecordingFinisher.h"
#include "app/recordings/DriveList.h"
#include "app/recordings/RecordingCopies.h"
#include "app/recordings/RecordingsCleanup.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/BigButtonsView.h"
#include "app/settings/LanguageSwitch.h"
#include "app/settings/MainCaptions.h"
#include "app/settings/TPagesDlg.h"
#include "app/settings/Tinfoform.h"
#include "app/songs/SongLibrary.h"
#include "app/songs/SongListEditorView.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "common/Guard.h"
#include "common/TextFile.h"
#include "settings/UiTexts.h"
#include "songs/NumberPicker.h"
#include "ui_TDualListDlg.h"
#include "ui_TForm1.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QProgressDialog>
#include <QRadioButton>

TForm1::TForm1(Services& services, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), services_(services) {
    // Every start begins with the built-in texts.
    setCurrentUiTexts(defaultUiTexts());
    ui->setupUi(this);
    hideDesignedMenus(*ui);
    ui->ListBox2->addItems(uiTexts());
    applyUiCaptions(*ui, uiTexts());
    songs_ = std::make_unique<SongLibrary>(*this);
    songListEditor_ = std::make_unique<SongListEditorView>(*this);
    player_ = std::make_unique<Player>(*this);
    otherSource_ = std::make_unique<OtherSource>(*this);
    startMelody_ = std::make_unique<StartMelody>(*this);
    capture_ = std::make_unique<CaptureControl>(*this);
    recordingFields_ = std::make_unique<RecordingFields>(*this);
    recordingControl_ = std::make_unique<RecordingControl>(*this);
    finisher_ = std::make_unique<RecordingFinisher>(*this);
    recordingsCleanup_ = std::make_unique<RecordingsCleanup>(*this);
    recordingCopies_ = std::make_unique<RecordingCopies>(*this);
    driveList_ = std::make_unique<DriveList>(*this);
    languages_ = std::make_unique<LanguageSwitch>(*this);
    musicBlock_ = std::make_unique<MusicBlock>(*this);
    meetingClock_ = std::make_unique<MeetingClock>(*this);
    wireMenus();
    FormCreate();
    // The dialogs take their texts from the language start-up applied.
    infoform_ = std::make_unique<Tinfoform>(uiTexts(), this);
    copyDialog_ = std::make_unique<TDualListDlg>(*this);
    pagesDlg_ = std::make_unique<TPagesDlg>(*this);
    pagesDlg_->FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

QStringList TForm1::uiTexts() const {
    return currentUiTexts();
}

void TForm1::step(const std::function<void()>& action) {
    guarded(services_.dialogs, action);
}

void TForm1::tellLater(const QString& message) {
    QMetaObject::invokeMethod(
        this, [this, message] { step([&] { services_.dialogs.showMessage(message); }); },
        Qt::QueuedConnection);
}

void TForm1::wireMenus() {
    on(ui->Beenden1, &QAction::triggered, [this] { Beenden1Click(); });
    on(ui->Beendenohnespeichern1, &QAction::triggered, [this] { Beendenohnespeichern1Click(); });
    on(ui->grSchalt, &QAction::triggered, [this] {
        // Qt has already toggled the mark; the handler toggles it itself.
        ui->grSchalt->setChecked(!ui->grSchalt->isChecked());
        grSchaltClick();
    });
    on(ui->Ja1, &QAction::triggered, [this] { Ja1Click(); });
    on(ui->Info1, &QAction::triggered, [this] { Info1Click(); });
    on(ui->Nein1, &QAction::triggered, [this] { Nein1Click(); });
    on(ui->Kopieren1, &QAction::triggered, [this] { Kopieren1Click(); });
    on(ui->Einstellungen1, &QAction::triggered, [this] { Einstellungen1Click(); });
    on(ui->Kandolorszeiteneinstellen1, &QAction::triggered, [this] { Kandolorszeiteneinstellen1Click(); });
}

void TForm1::FormCreate() {
    step([this] {
        settings_.LevelWarnPercent = 70;
        settings_.LevelPeakPercent = 88;
        settings_.recomputeLevelPixels();
        state_.RecordingCounter = 1;
    });
    step([this] { fixLayout(); });
    step([this] {
        settings_.InputVolume = 50;
        settings_.StartMelodyOn = false;
        settings_.StartMelodyFile.clear();
        settings_.SplitMinutes = 100;
        settings_.FileNameOrder = 0;
        state_.SongLanguageCode = QStringLiteral("X");
        state_.TodayWeekday = dayOfWeek(services_.clock.today());
        state_.LanguageCount = 0;
    });
    step([this] { languages_->listLanguageFiles(); });
    step([this] { findDataFolders(); });
    step([this] { LoadSongConfig(); });
    step([this] { state_.RandomSongPool = music::RandomPool(songConfig_.liedanzahl); });
    step([this] { buildPicker(); });
    step([this] {
        if (songConfig_.pfad.isEmpty())
            services_.dialogs.showMessage(uiText(UiText::NoSongFolderNotice));
        else
            state_.pfad_lk = songConfig_.pfad;
    });
    step([this] { LoadSettings(); });
    step([this] {
        if (recordingFields_->CheckRecordingFolderAtStart())
            finisher_->FinishLeftRecordings();
    });
    // The record buttons follow Auto-Rec from the start, also when the box was not changed by the settings.
    step([this] { recordingControl_->autorecClick(); });
    step([this] { checkMenuMarks(); });
    step([this] {
        state_.NextMeetingTime = StartupRules::nextMeetingTime(settings_.MeetingTime1, settings_.MeetingTime2,
                                                               timePart(services_.clock.now()));
        if (settings_.ShutdownDelay == 0)
            settings_.ShutdownDelay = 20.0 / (24 * 60);
        if (songConfig_.SongFileExt.isEmpty())
            songConfig_.SongFileExt = QStringLiteral(".mp3");
    });
    step([this] {
        // The language subsystem handles the item's action; Tag 1 marks the start-up call.
        for (QAction* item : newItem_) {
            if (item->text() == settings_.LanguageName) {
                item->setProperty("Tag", 1);
                item->trigger();
                break;
            }
        }
    });
    step([this] {
        ui->GroupBox5->setTitle(uiText(UiText::MusicBeforeMeeting) + QLatin1Char(' ') +
                                timeToString(state_.NextMeetingTime));
        state_.SlotChosen = false;
        ui->RadioButton3->setChecked(true);
    });
    step([this] { services_.dialogs.information(uiText(UiText::InfoCaption), uiText(UiText::CableNotice)); });
    step([this] { capture_->InitRecording(); });
    step([this] { driveList_->RefreshDriveList(); });
    step([this] {
        ui->Button3->setProperty("Tag", 0);
        Button3Click();
        ui->Button3->setProperty("Tag", 1);
    });
    step([this] { recordingFields_->ResetMeetingDefaults(); });
    step([this] { songs_->LiedereinlesenClick(); });
    step([this] { ui->BitBtn4->setText(uiText(UiText::Recording)); });
}

void TForm1::fixLayout() {
    ui->GroupBox3->resize(376, ui->GroupBox3->height());
    ui->Label1->setText(QStringLiteral("---"));
    ui->Label10->setText(QStringLiteral("---"));
    ui->Label2->setText(QStringLiteral("00:00"));
    ui->Label3->setText(QStringLiteral("00:00"));
    QPalette gauge = ui->Gauge1->palette();
    gauge.setColor(QPalette::Highlight, QColor(0, 128, 0));
    ui->Gauge1->setPalette(gauge);
    ui->StringGrid2->setGeometry(ui->Panel2->x(), ui->Panel2->y(), ui->GroupBox6->width(),
                                 ui->Panel2->height());
}

void TForm1::findDataFolders() {
    state_.CommonDataFolder = services_.folders.commonDataFolder();
    state_.UserDataFolder = services_.folders.userDataFolder();
    state_.user = services_.folders.userName().replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString recordings = StartupRules::defaultRecordingFolder(services_.folders.homeFolder());
    QDir().mkpath(recordings);
    settings_.RecordingFolder = recordings + QLatin1Char('/');
    files_.commonFolder = state_.CommonDataFolder + QStringLiteral("/Kandolor");
    files_.userFolder = state_.UserDataFolder + QStringLiteral("/Kandolor");
    // The special folders may not exist yet on a fresh account; create them with ours.
    for (const QString& folder : {files_.commonFolder, files_.userFolder})
        QDir().mkpath(folder);
}

void TForm1::LoadSongConfig() {
    songConfig_ = SongConfig{};
    if (TextFile::exists(files_.songConfigFile()))
        SettingsFormat::readSongConfig(TextFile::readLines(files_.songConfigFile()), songConfig_, false);
    else if (TextFile::exists(files_.legacySongConfigFile()))
        SettingsFormat::readSongConfig(TextFile::readLines(files_.legacySongConfigFile()), songConfig_, true);
    if (songConfig_.InstallId.isEmpty()) {
        songConfig_.InstallId = SettingsFormat::makeInstallId(services_.clock.today());
        TextFile::writeLines(files_.songConfigFile(), SettingsFormat::writeSongConfig(songConfig_));
    }
}

void TForm1::buildPicker() {
    const int count = songConfig_.liedanzahl;
    state_.PickerFullRows = count / NumberPicker::Columns;
    state_.PickerLastRowCells = count % NumberPicker::Columns;
    QTableWidget* grid = ui->StringGrid1;
    grid->clear();
    grid->setColumnCount(NumberPicker::Columns);
    grid->setRowCount(NumberPicker::rowCount(count));
    grid->resize(NumberPicker::Width, NumberPicker::height(count));
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < NumberPicker::Columns; ++c)
            if (const QString text = NumberPicker::cellText(r, c, count); !text.isEmpty())
                grid->setItem(r, c, new QTableWidgetItem(text));
}

void TForm1::LoadSettings() {
    if (!TextFile::exists(files_.settingsFile()))
        return;
    struct Apply {
        TForm1* form;
        ~Apply() { form->applySettingsToWindow(); }
    } apply{this};
    SettingsFormat::read(TextFile::readLines(files_.settingsFile()), settings_);
}

void TForm1::applySettingsToWindow() {
    if (settings_.windowHeight && settings_.windowWidth)
        resize(*settings_.windowWidth, *settings_.windowHeight);
    ui->grSchalt->setChecked(settings_.bigButtonsMark);
    ui->autorec->setChecked(settings_.AutoRecord);
    ui->AutoAufnahme1->setChecked(settings_.AutoRecord);
    ui->BitBtn4->setEnabled(!settings_.AutoRecord);
    ui->N30Tage1->setChecked(settings_.DeleteAgeCode == QLatin1String("1"));
    ui->N60Tage1->setChecked(settings_.DeleteAgeCode == QLatin1String("2"));
    ui->N90Tage1->setChecked(settings_.DeleteAgeCode == QLatin1String("3"));
    ui->Nie1->setChecked(settings_.DeleteAgeCode == QLatin1String("0"));
}

void TForm1::checkMenuMarks() {
    ui->Label27->setText(QString::number(settings_.InputVolume));
    if (settings_.StartMelodyOn)
        Ja1Click();
    else
        Nein1Click();
    grSchaltClick();
    if (settings_.AutoLevelReduction)
        ui->AutoPegelreduzierung1->setChecked(true);
    recordingControl_->checkSplitItem(StartupRules::splitMenuChoice(settings_.SplitMinutes));
}

void TForm1::Ja1Click() {
    settings_.StartMelodyOn = true;
    ui->SpeedButton7->show();
    ui->Ja1->setChecked(true);
    ui->Nein1->setChecked(false);
}

void TForm1::Nein1Click() {
    settings_.StartMelodyOn = false;
    ui->SpeedButton7->hide();
    ui->Nein1->setChecked(true);
    ui->Ja1->setChecked(false);
}

void TForm1::grSchaltClick() {
    applyBigButtonsView(*ui, !ui->grSchalt->isChecked());
}

void TForm1::Beenden1Click() {
    close();
}

void TForm1::Beendenohnespeichern1Click() {
    closeTag = 1;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    step([this] { finishBeforeClosing(); });
    event->accept();
}

void TForm1::finishBeforeClosing() {
    if (capture_->channelActive())
        recordingControl_->bStopClick();
    if (!finisher_->busy() && !recordingCopies_->busy())
        return;
    // The copies start when a finishing ends, so the wait ends when neither has anything left.
    QEventLoop finished;
    const auto quitWhenDone = [&] {
        if (!finisher_->busy() && !recordingCopies_->busy())
            finished.quit();
    };
    connect(finisher_.get(), &RecordingFinisher::idle, &finished, quitWhenDone, Qt::QueuedConnection);
    connect(recordingCopies_.get(), &RecordingCopies::idle, &finished, quitWhenDone, Qt::QueuedConnection);
    QProgressDialog wait(uiText(UiText::ClosingWait), QString(), 0, 0, this);
    wait.setWindowTitle(QStringLiteral("Kandolor"));
    wait.setWindowModality(Qt::WindowModal);
    wait.setMinimumDuration(0);
    wait.show();
    finished.exec();
}

bool TForm1::FormClose() {
    if (closeTag != 0)
        return true;
    return guarded(services_.dialogs, [this] {
        SaveSettings();
        SaveSongConfig();
    });
}

void TForm1::SaveSettings() {
    settings_.windowHeight = height();
    settings_.windowWidth = width();
    settings_.bigButtonsMark = ui->grSchalt->isChecked();
    TextFile::writeLines(files_.settingsFile(), SettingsFormat::write(settings_));
}

void TForm1::SaveSongConfig() {
    TextFile::writeLines(files_.songConfigFile(), SettingsFormat::writeSongConfig(songConfig_));
}

void TForm1::FormDestroy() {
    capture_->ReleaseAudio();
}

void TForm1::CheckBox1Click() {
    player_->CheckBox1Click();
}

void TForm1::bStopClick() {
    recordingControl_->bStopClick();
}

void TForm1::bRecordClick() {
    recordingControl_->bRecordClick();
}

void TForm1::DeleteOldRecordings() {
    recordingsCleanup_->DeleteOldRecordings();
}

void TForm1::ResetRecordingFields(int part) {
    recordingFields_->ResetRecordingFields(part);
}

void TForm1::ComboBox4Change() {
    otherSource_->ComboBox4Change();
}
void TForm1::ComboBox6Change() {
    musicBlock_->ComboBox6Change();
}

void TForm1::Button3Click() {
    meetingClock_->Button3Click();
}

void TForm1::StartCopies(const recording::FinishJob& job, const QString& finalName) {
    recordingCopies_->copy(job.folder, finalName, QStringList(job.targets.begin(), job.targets.end()));
}

void TForm1::refreshCopyTargets() {
    if (copyDialog_ && copyDialog_->isVisible())
        driveList_->FillTargetList(*copyDialog_->form().DstList);
}

void TForm1::Kopieren1Click() {
    services_.dialogs.runModal(*copyDialog_);
}

void TForm1::Einstellungen1Click() {
    pagesDlg_->Einstellungen1Click();
}

void TForm1::applyDialogTexts() {
    pagesDlg_->applyTexts();
    infoform_->applyTexts(uiTexts());
    copyDialog_->FormCreate(uiTexts());
}

void TForm1::Info1Click() {
    services_.dialogs.runModal(*infoform_);
}

void TForm1::Kandolorszeiteneinstellen1Click() {
    state_.NextMeetingTime = StartupRules::nextMeetingTime(settings_.MeetingTime1, settings_.MeetingTime2,
                                                           timePart(services_.clock.now()));
    ui->GroupBox5->setTitle(uiText(UiText::MusicBeforeMeeting) + QLatin1Char(' ') +
                            timeToString(state_.NextMeetingTime));
    meetingClock_->timer2().start();
    ui->Label23->show();
}

void TForm1::ResetMusicList() {
    musicBlock_->emptyList();
    musicBlock_->setMusicState(MusicBlock::Idle);
    musicBlock_->RandomPlayOn = true;
    musicBlock_->Button9Click();
    ui->BitBtn5->setText(uiText(UiText::Activate));
}
