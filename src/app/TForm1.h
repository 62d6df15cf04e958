#pragma once

#include "app/AppState.h"
#include "app/DataFiles.h"
#include "app/Services.h"
#include "app/Settings.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class TForm1;
}
class QAction;
class QRadioButton;
class SongLibrary;
class SongListEditorView;
class Player;
class OtherSource;
class StartMelody;
class CaptureControl;
class RecordingControl;
class RecordingFields;
class RecordingFinisher;
class RecordingsCleanup;
class DriveList;
class RecordingCopies;
class TDualListDlg;
class TPagesDlg;
class Tinfoform;
class LanguageSwitch;
class MusicBlock;
class MeetingClock;
namespace recording {
struct FinishJob;
}

// The main window: owns the state, the controls and the wiring; runs start-up and closing.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(Services& services, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& form() { return *ui; }
    const Services& services() const { return services_; }
    SongLibrary& songs() { return *songs_; }
    SongListEditorView& songListEditor() { return *songListEditor_; }
    Player& player() { return *player_; }
    OtherSource& otherSource() { return *otherSource_; }
    StartMelody& startMelody() { return *startMelody_; }
    CaptureControl& capture() { return *capture_; }
    RecordingFields& recordingFields() { return *recordingFields_; }
    RecordingControl& recordingControl() { return *recordingControl_; }
    RecordingFinisher& finisher() { return *finisher_; }
    DriveList& driveList() { return *driveList_; }
    RecordingCopies& recordingCopies() { return *recordingCopies_; }
    TDualListDlg& copyDialog() { return *copyDialog_; }
    AppState& state() { return state_; }
    Settings& settings() { return settings_; }
    SongConfig& songConfig() { return songConfig_; }
    const DataFiles& dataFiles() const { return files_; }
    // The texts in use (the process-wide table: one window per program).
    QStringList uiTexts() const;
    std::vector<QAction*>& NewItem() { return newItem_; }
    std::vector<QRadioButton*>& NewButton() { return newButton_; }
    TPagesDlg& pagesDialog() { return *pagesDlg_; }
    Tinfoform& infoform() { return *infoform_; }
    LanguageSwitch& languages() { return *languages_; }
    MusicBlock& musicBlock() { return *musicBlock_; }
    MeetingClock& meetingClock() { return *meetingClock_; }

    // 0 = save on close; any other value closes without saving.
    int closeTag = 0;

    void Beenden1Click();
    void Beendenohnespeichern1Click();
    void grSchaltClick();
    void Ja1Click();
    void Nein1Click();

    // Entry points that handlers of one subsystem call in another.
    void CheckBox1Click();
    void ComboBox4Change();
    void ComboBox6Change();
    void Button3Click();
    void DeleteOldRecordings();
    void bStopClick();
    void bRecordClick();
    void ResetRecordingFields(int part);
    void ResetMusicList();
    // Copies a finished recording to the targets its job names.
    void StartCopies(const recording::FinishJob& job, const QString& finalName);
    // The copy dialog's target list follows the drive list while the dialog is shown.
    void refreshCopyTargets();
    void Kopieren1Click();
    void Einstellungen1Click();
    void Info1Click();
    void Kandolorszeiteneinstellen1Click();
    // The texts of the dialogs after a language was chosen.
    void applyDialogTexts();

    // Runs an entry point that Qt calls: an error stops it and is shown. Every handler connected to a
    // signal is guarded on its own, so no exception crosses Qt's signal dispatch.
    void step(const std::function<void()>& action);
    // Shows `message` from the event loop once the running handler or tick has returned, so timers go on
    // while the operator reads it.
    void tellLater(const QString& message);
    // Connects a signal to a handler that runs as such an entry point.
    template <typename Sender, typename Signal>
    void on(Sender* sender, Signal signal, std::function<void()> handler) {
        connect(sender, signal, this, [this, handler] { step(handler); });
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    bool FormClose();
    // A running recording is stopped, and the window waits with a note until every stopped recording is
    // finished.
    void finishBeforeClosing();
    void FormDestroy();

    // Start-up steps.
    void fixLayout();
    void findDataFolders();
    void LoadSongConfig();
    void buildPicker();
    void LoadSettings();
    void applySettingsToWindow();
    void checkMenuMarks();
    void SaveSettings();
    void SaveSongConfig();

    void wireMenus();

    std::unique_ptr<Ui::TForm1> ui;
    Services& services_;
    AppState state_;
    Settings settings_;
    SongConfig songConfig_;
    DataFiles files_;
    std::vector<QAction*> newItem_;
    std::vector<QRadioButton*> newButton_;
    std::unique_ptr<SongLibrary> songs_;
    std::unique_ptr<SongListEditorView> songListEditor_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<OtherSource> otherSource_;
    std::unique_ptr<StartMelody> startMelody_;
    std::unique_ptr<CaptureControl> capture_;
    std::unique_ptr<RecordingFields> recordingFields_;
    std::unique_ptr<RecordingControl> recordingControl_;
    std::unique_ptr<RecordingFinisher> finisher_;
    std::unique_ptr<RecordingsCleanup> recordingsCleanup_;
    std::unique_ptr<DriveList> driveList_;
    std::unique_ptr<RecordingCopies> recordingCopies_;
    std::unique_ptr<TDualListDlg> copyDialog_;
    std::unique_ptr<LanguageSwitch> languages_;
    std::unique_ptr<MusicBlock> musicBlock_;
    std::unique_ptr<MeetingClock> meetingClock_;
    std::unique_ptr<Tinfoform> infoform_;
    std::unique_ptr<TPagesDlg> pagesDlg_;
};
