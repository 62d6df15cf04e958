#pragma once

#include "common/DateTime.h"

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class TPagesDlg;
}
class QRadioButton;
class TForm1;

// The settings dialog: five pages on working copies of the settings; OK takes them into the settings and
// applies them to the main window in a fixed order, "Abbrechen" changes nothing.
class TPagesDlg : public QDialog {
    Q_OBJECT

public:
    explicit TPagesDlg(TForm1& form);
    ~TPagesDlg() override;

    Ui::TPagesDlg& form() { return *ui; }

    enum Page { Folders, RecordingOptions, MeetingTimes, Closing, Language };

    // Opens the dialog on the current settings and commits unless it was cancelled.
    void Einstellungen1Click();
    // Opens the dialog at once when no song folder is set, or when language files exist and none was
    // chosen; then applyTexts.
    void FormCreate();
    // The language page's visibility and the texts from the UI texts.
    void applyTexts();

    void FormShow();
    void pagecontrolChanging(int left);
    void pagecontrolChange(int entered);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void OKBtnClick();
    // Loads every control from the working copies.
    void Button1Click();

private:
    struct Flags {
        bool melody = false, autoRecord = false, autoLevel = false, shutdown = false;
        std::array<bool, 5> split{};
        std::array<bool, 4> deleteAge{};
        std::array<bool, 4> order{};
    };
    // The split choices, then the deletion ages and the file-name orders of page 2.
    std::array<QRadioButton*, 5> splitButtons() const;
    std::array<QRadioButton*, 8> ageAndNameButtons() const;
    void placeLanguageButtons();
    void copySettings();
    void loadPage1();
    void loadPage2();
    void storePage2();
    void askForMelody();
    void commit();

    std::unique_ptr<Ui::TPagesDlg> ui;
    TForm1& main_;
    int shownPage_ = 0;
    QString DlgSongPath;
    QString DlgRecordingFolder;
    QString DlgStartMelodyFile;
    int DlgSongCount = 135;
    DateTime DlgMeetingTime1 = 0;
    DateTime DlgMeetingTime2 = 0;
    DateTime DlgShutdownDelay = 0;
    Flags DlgFlags;
};
