#include "app/settings/TPagesDlg.h"

#include "app/TForm1.h"
#include "app/playback/StartMelody.h"
#include "app/recording/RecordingFields.h"
#include "app/settings/LanguageSwitch.h"
#include "app/songs/SongLibrary.h"
#include "common/Dialogs.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"
#include "ui_TPagesDlg.h"

#include <QRadioButton>
#include <QTabBar>
#include <QTime>

namespace {

constexpr std::array<int, 5> SplitValues = {100, 10, 20, 30, 40};

QTime toTime(DateTime value) {
    return QTime(0, 0).addMSecs(static_cast<int>(std::lround(timePart(value) * 86400000.0)));
}

DateTime fromTime(const QTime& time) {
    return time.msecsSinceStartOfDay() / 86400000.0;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString folderPart(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

TPagesDlg::TPagesDlg(TForm1& form) : QDialog(&form), ui(std::make_unique<Ui::TPagesDlg>()), main_(form) {
    ui->setupUi(this);
    setFixedSize(size());
    // Five tabs in the dialog's width, without scroll arrows.
    ui->pagecontrol->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 5px; }"));
    connect(ui->pagecontrol, &QTabWidget::currentChanged, this, [this](int entered) {
        main_.step([&] {
            pagecontrolChanging(shownPage_);
            shownPage_ = entered;
            pagecontrolChange(entered);
        });
    });
    main_.on(ui->SpeedButton1, &QToolButton::clicked, [this] { SpeedButton1Click(); });
    main_.on(ui->SpeedButton2, &QToolButton::clicked, [this] { SpeedButton2Click(); });
    main_.on(ui->SpeedButton3, &QToolButton::clicked, [this] { SpeedButton3Click(); });
    main_.on(ui->Button1, &QPushButton::clicked, [this] { Button1Click(); });
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] {
        main_.step([this] { OKBtnClick(); });
        accept();
    });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPagesDlg::FormCreate() {
    const AppState& state = main_.state();
    if ((state.LanguageCount > 0 && main_.settings().LanguageName.isEmpty()) ||
        main_.songConfig().pfad.isEmpty())
        main_.step([this] { Einstellungen1Click(); });
    applyTexts();
}

TPagesDlg::~TPagesDlg() = default;

void TPagesDlg::applyTexts() {
    const QStringList& t = main_.uiTexts();
    ui->pagecontrol->setTabVisible(Language, main_.state().LanguageCount > 0);
    setWindowTitle(t.at(UiText::MenuSettings));
    ui->CancelBtn->setText(t.at(UiText::Cancel));
    ui->pagecontrol->setTabText(Folders, t.at(UiText::FoldersTab));
    ui->Label1->setText(t.at(UiText::SongFolderLabel));
    ui->Label3->setText(t.at(UiText::RecordingFolderLabel));
    ui->Label5->setText(t.at(UiText::StartMelodyLabel));
    ui->CheckBox3->setText(t.at(UiText::Enabled));
    ui->pagecontrol->setTabText(RecordingOptions, t.at(UiText::RecordingOptionsTab));
    ui->CheckBox1->setText(t.at(UiText::AutoRecording));
    ui->CheckBox2->setText(t.at(UiText::AutoLevelReduction));
    ui->GroupBox1->setTitle(t.at(UiText::SplitFiles));
    ui->RadioButton1->setText(t.at(UiText::Disabled));
    ui->RadioButton6->setText(t.at(UiText::Disabled));
    const QString minutes = t.at(UiText::Minutes);
    ui->RadioButton2->setText(QStringLiteral("10 ") + minutes);
    ui->RadioButton3->setText(QStringLiteral("20 ") + minutes);
    ui->RadioButton4->setText(QStringLiteral("30 ") + minutes);
    ui->RadioButton5->setText(QStringLiteral("40 ") + minutes);
    ui->GroupBox2->setTitle(t.at(UiText::DeleteRecordings));
    const QString days = t.at(UiText::Days);
    ui->RadioButton7->setText(QStringLiteral("> 30 ") + days);
    ui->RadioButton8->setText(QStringLiteral("> 60 ") + days);
    ui->RadioButton9->setText(QStringLiteral("> 90 ") + days);
    ui->GroupBox3->setTitle(t.at(UiText::FileNames));
    const QString user = t.at(UiText::WordUser), date = t.at(UiText::WordDate),
                  title = t.at(UiText::WordTitle);
    const QChar u = QLatin1Char('_');
    ui->RadioButton10->setText(user + u + date + u + title);
    ui->RadioButton11->setText(date + u + user + u + title);
    ui->RadioButton12->setText(date + u + title + u + user);
    ui->RadioButton13->setText(title + u + date + u + user);
    ui->pagecontrol->setTabText(MeetingTimes, t.at(UiText::MeetingTimesTab));
    ui->pagecontrol->setTabText(Closing, t.at(UiText::MenuClose));
    ui->Label7->setText(t.at(UiText::MinutesAfterEnd));
    ui->CheckBox4->setText(t.at(UiText::ShutDownComputer));
    ui->pagecontrol->setTabText(Language, t.at(UiText::MenuLanguage));
    ui->Label8->setText(t.at(UiText::SongsInFolder));
    ui->OKBtn->setText(t.at(UiText::OkButton));
}

void TPagesDlg::Einstellungen1Click() {
    placeLanguageButtons();
    copySettings();
    Button1Click();
    FormShow();
    if (main_.services().dialogs.runModal(*this) != QDialog::Rejected)
        commit();
}

void TPagesDlg::placeLanguageButtons() {
    const std::vector<QRadioButton*>& buttons = main_.NewButton();
    const int widest = buttons.empty() ? 0 : buttons.front()->property("Tag").toInt();
    // The chosen language; before one is chosen, the one whose texts are shown.
    const QString shown = main_.settings().LanguageName.isEmpty() ? main_.languages().shownLanguage()
                                                                  : main_.settings().LanguageName;
    for (std::size_t p = 0; p < buttons.size(); ++p) {
        QRadioButton* button = buttons[p];
        const int i = static_cast<int>(p);
        button->setParent(ui->TabSheet5);
        button->move(8 + (i / 10) * (widest + 50), (i % 10) * 20 + 10);
        button->resize(button->sizeHint());
        button->show();
        // An exclusive radio button cannot be unchecked, so one ticked in a cancelled opening would stay.
        button->setAutoExclusive(false);
        button->setChecked(button->text() == shown);
        button->setAutoExclusive(true);
    }
}

void TPagesDlg::copySettings() {
    const Settings& s = main_.settings();
    DlgSongPath = main_.songConfig().pfad;
    DlgRecordingFolder = s.RecordingFolder;
    DlgStartMelodyFile = s.StartMelodyFile;
    DlgSongCount = main_.songConfig().liedanzahl;
    DlgMeetingTime1 = s.MeetingTime1;
    DlgMeetingTime2 = s.MeetingTime2;
    DlgShutdownDelay = s.ShutdownDelay;
    DlgFlags = Flags{s.StartMelodyOn, s.AutoRecord, s.AutoLevelReduction, s.ShutdownEnabled, {}, {}, {}};
    const int split = s.SplitMinutes == 0 || s.SplitMinutes == 1 ? 100 : s.SplitMinutes;
    for (std::size_t i = 0; i < SplitValues.size(); ++i)
        DlgFlags.split[i] = SplitValues[i] == split;
    for (std::size_t i = 0; i < DlgFlags.deleteAge.size(); ++i)
        DlgFlags.deleteAge[i] = s.DeleteAgeCode == QString::number(i);
    for (std::size_t i = 0; i < DlgFlags.order.size(); ++i)
        DlgFlags.order[i] = s.FileNameOrder == static_cast<int>(i);
}

void TPagesDlg::Button1Click() {
    loadPage1();
    loadPage2();
    ui->DateTimePicker1->setTime(toTime(DlgMeetingTime1));
    ui->DateTimePicker2->setTime(toTime(DlgMeetingTime2));
    ui->DateTimePicker3->setTime(toTime(DlgShutdownDelay));
    ui->CheckBox4->setChecked(DlgFlags.shutdown);
}

void TPagesDlg::loadPage1() {
    ui->Label2->setText(folderPart(DlgSongPath));
    ui->Label4->setText(DlgRecordingFolder);
    ui->Label6->setText(DlgStartMelodyFile);
    ui->CheckBox3->setChecked(DlgFlags.melody);
    ui->SpinEdit1->setValue(DlgSongCount);
}

std::array<QRadioButton*, 5> TPagesDlg::splitButtons() const {
    return {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4, ui->RadioButton5};
}

std::array<QRadioButton*, 8> TPagesDlg::ageAndNameButtons() const {
    return {ui->RadioButton6,  ui->RadioButton7,  ui->RadioButton8,  ui->RadioButton9,
            ui->RadioButton10, ui->RadioButton11, ui->RadioButton12, ui->RadioButton13};
}

void TPagesDlg::loadPage2() {
    const Ui::TPagesDlg& f = *ui;
    f.CheckBox1->setChecked(DlgFlags.autoRecord);
    f.CheckBox2->setChecked(DlgFlags.autoLevel);
    const auto split = splitButtons();
    for (std::size_t i = 0; i < split.size(); ++i)
        if (DlgFlags.split[i])
            split[i]->setChecked(true);
    const auto rest = ageAndNameButtons();
    for (std::size_t i = 0; i < 4; ++i) {
        if (DlgFlags.deleteAge[i])
            rest[i]->setChecked(true);
        if (DlgFlags.order[i])
            rest[4 + i]->setChecked(true);
    }
}

void TPagesDlg::storePage2() {
    const Ui::TPagesDlg& f = *ui;
    DlgFlags.autoRecord = f.CheckBox1->isChecked();
    DlgFlags.autoLevel = f.CheckBox2->isChecked();
    const auto split = splitButtons();
    for (std::size_t i = 0; i < split.size(); ++i)
        DlgFlags.split[i] = split[i]->isChecked();
    const auto rest = ageAndNameButtons();
    for (std::size_t i = 0; i < 4; ++i) {
        DlgFlags.deleteAge[i] = rest[i]->isChecked();
        DlgFlags.order[i] = rest[4 + i]->isChecked();
    }
}

void TPagesDlg::FormShow() {
    // A tab widget always shows a page: with nothing to ask for, the dialog opens on the first.
    int page = Folders;
    if (main_.settings().LanguageName.isEmpty() && main_.state().LanguageCount > 0)
        page = Language;
    if (main_.songConfig().pfad.isEmpty())
        page = Folders;
    const QSignalBlocker quiet(ui->pagecontrol);
    ui->pagecontrol->setCurrentIndex(page);
    shownPage_ = page;
}

void TPagesDlg::pagecontrolChanging(int left) {
    switch (left) {
    case Folders:
        DlgFlags.melody = ui->CheckBox3->isChecked();
        if (ui->CheckBox3->isChecked() && ui->Label6->text().isEmpty())
            askForMelody();
        break;
    case RecordingOptions:
        storePage2();
        break;
    case MeetingTimes:
        DlgMeetingTime1 = fromTime(ui->DateTimePicker1->time());
        DlgMeetingTime2 = fromTime(ui->DateTimePicker2->time());
        break;
    case Closing:
        DlgShutdownDelay = fromTime(ui->DateTimePicker3->time());
        DlgFlags.shutdown = ui->CheckBox4->isChecked();
        break;
    default:
        break;
    }
}

void TPagesDlg::pagecontrolChange(int entered) {
    switch (entered) {
    case Folders:
        loadPage1();
        break;
    case RecordingOptions:
        loadPage2();
        break;
    case MeetingTimes:
        ui->DateTimePicker1->setTime(toTime(DlgMeetingTime1));
        ui->DateTimePicker2->setTime(toTime(DlgMeetingTime2));
        break;
    case Closing:
        ui->DateTimePicker3->setTime(toTime(DlgShutdownDelay));
        break;
    default:
        break;
    }
}

void TPagesDlg::askForMelody() {
    const QString file = main_.services().dialogs.openFile(main_.uiTexts().at(UiText::StartMelodyLabel),
                                                           MelodyFolder, uiText(UiText::AudioFileFilter));
    if (!file.isEmpty())
        DlgStartMelodyFile = file;
}

void TPagesDlg::SpeedButton1Click() {
    const QString folder =
        main_.services().dialogs.chooseFolder(main_.uiTexts().at(UiText::SongFolderLabel), DlgSongPath);
    if (folder.isEmpty())
        return;
    DlgSongPath = withSlash(folder);
    ui->Label2->setText(folderPart(DlgSongPath));
}

void TPagesDlg::SpeedButton2Click() {
    const QString folder = main_.services().dialogs.chooseFolder(
        main_.uiTexts().at(UiText::RecordingFolderLabel), DlgRecordingFolder);
    if (folder.isEmpty())
        return;
    DlgRecordingFolder = withSlash(folder);
    ui->Label4->setText(DlgRecordingFolder);
}

void TPagesDlg::SpeedButton3Click() {
    const QString file = main_.services().dialogs.openFile(
        main_.uiTexts().at(UiText::StartMelodyLabel),
        DlgStartMelodyFile.isEmpty() ? MelodyFolder : DlgStartMelodyFile, uiText(UiText::AudioFileFilter));
    if (file.isEmpty())
        return;
    DlgStartMelodyFile = file;
    loadPage1();
}

void TPagesDlg::OKBtnClick() {
    DlgFlags.melody = ui->CheckBox3->isChecked();
    storePage2();
    DlgFlags.shutdown = ui->CheckBox4->isChecked();
    DlgMeetingTime1 = fromTime(ui->DateTimePicker1->time());
    DlgMeetingTime2 = fromTime(ui->DateTimePicker2->time());
    DlgShutdownDelay = fromTime(ui->DateTimePicker3->time());
    DlgSongCount = ui->SpinEdit1->value();
}

void TPagesDlg::commit() {
    Settings& s = main_.settings();
    Ui::TForm1& window = main_.form();
    // A stored name without a file has no button and stays.
    for (std::size_t k = 0; k < main_.NewButton().size(); ++k) {
        if (!main_.NewButton()[k]->isChecked())
            continue;
        s.LanguageName = main_.NewButton()[k]->text();
        main_.NewItem()[k]->trigger();
    }
    main_.songs().Lieder1Click(DlgSongPath);
    main_.recordingFields().ApplyRecordingFolder(folderPart(DlgRecordingFolder));
    s.StartMelodyFile = DlgStartMelodyFile;
    s.MeetingTime1 = timePart(DlgMeetingTime1);
    s.MeetingTime2 = timePart(DlgMeetingTime2);
    s.ShutdownDelay = timePart(DlgShutdownDelay);
    main_.songConfig().liedanzahl = DlgSongCount;
    main_.Kandolorszeiteneinstellen1Click();
    s.StartMelodyOn = DlgFlags.melody;
    if (s.StartMelodyOn)
        main_.Ja1Click();
    else
        main_.Nein1Click();
    s.AutoRecord = DlgFlags.autoRecord;
    window.autorec->setChecked(s.AutoRecord);
    s.AutoLevelReduction = DlgFlags.autoLevel;
    s.ShutdownEnabled = DlgFlags.shutdown;
    for (std::size_t i = 0; i < SplitValues.size(); ++i)
        if (DlgFlags.split[i])
            s.SplitMinutes = SplitValues[i];
    for (std::size_t i = 0; i < 4; ++i) {
        if (DlgFlags.deleteAge[i])
            s.DeleteAgeCode = QString::number(i);
        if (DlgFlags.order[i])
            s.FileNameOrder = static_cast<int>(i);
    }
}
