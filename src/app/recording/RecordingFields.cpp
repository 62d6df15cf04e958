#include "app/recording/RecordingFields.h"

#include "app/StartupRules.h"
#include "app/TForm1.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "recording/RecordName.h"
#include "recording/RecordingFolder.h"
#include "recording/RecordingNames.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

namespace {
QDate today(TForm1& form) {
    return toQDate(form.services().clock.today());
}
} // namespace

RecordingFields::RecordingFields(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    for (QLineEdit* field : {ui.Thema, ui.Redner})
        form_.on(field, &QLineEdit::textChanged, [this] { ThemaChange(); });
    form_.on(ui.Datei, &QLineEdit::textChanged, [this] { RemoveForbiddenChars(); });
    form_.on(ui.SpeedButton9, &QToolButton::clicked, [this] { SpeedButton9Click(); });
    form_.on(ui.Button7, &QPushButton::clicked, [this] { BuildDefaultFileNames(); });
    form_.on(ui.Button8, &QPushButton::clicked, [this] { ResetMeetingDefaults(); });
}

void RecordingFields::SetRecordingDefaults() {
    defaults = recording::SetRecordingDefaults(form_.state().TodayWeekday, form_.uiTexts(),
                                               form_.settings().FileNameOrder, form_.state().user,
                                               today(form_), form_.settings().SplitMinutes);
}

void RecordingFields::BuildDefaultFileNames() {
    recording::BuildDefaultFileNames(defaults, form_.settings().FileNameOrder, form_.state().user,
                                     today(form_));
}

void RecordingFields::ThemaChange() {
    Ui::TForm1& ui = form_.form();
    const Settings& settings = form_.settings();
    defaults.DateString = recording::DateString(today(form_));
    ui.Datei->setText(recording::ThemaChangeFileName(settings.FileNameOrder, form_.state().user, today(form_),
                                                     ui.Redner->text(), ui.Thema->text(),
                                                     settings.SplitMinutes));
    ui.Datei->setModified(true);
}

void RecordingFields::RemoveForbiddenChars() {
    QLineEdit* datei = form_.form().Datei;
    const QString cleaned = recording::RemoveForbiddenChars(datei->text());
    if (cleaned != datei->text()) {
        const bool modified = datei->isModified();
        datei->setText(cleaned);
        datei->setModified(modified);
    }
}

void RecordingFields::ResetRecordingFields(int part) {
    Ui::TForm1& ui = form_.form();
    const recording::RecordingFields fields = recording::ResetRecordingFields(defaults, part);
    ui.Thema->setText(fields.Thema);
    ui.Redner->setText(fields.Redner);
    ui.Kommentar->setText(fields.Kommentar);
    ui.Datei->setText(fields.Datei);
    for (QLineEdit* field : {ui.Thema, ui.Redner, ui.Kommentar, ui.Datei})
        field->setModified(false);
}

void RecordingFields::SpeedButton9Click() {
    ResetRecordingFields(form_.form().CheckBox1->isChecked() ? 1 : 2);
}

void RecordingFields::FixNameAtStart() {
    Ui::TForm1& ui = form_.form();
    const QString defaultName =
        ui.CheckBox1->isChecked() ? defaults.DefaultFileName1 : defaults.DefaultFileName2;
    const recording::RecordName name =
        recording::FixRecordName(ui.Datei->text(), defaultName, form_.settings().SplitMinutes,
                                 form_.settings().RecordingFolder, recording::ExistsOnDisk);
    RecordBaseName = name.RecordBaseName;
    RecordExtension = name.RecordExtension;
    ui.Datei->setText(name.fileName());
    ui.Datei->setModified(false);
}

void RecordingFields::ApplyRecordingFolder(const QString& folder) {
    const QString problem = recording::RecordingFolderUnwritable(folder);
    if (!problem.isEmpty()) {
        form_.services().dialogs.showMessage(problem);
        return;
    }
    form_.settings().RecordingFolder = folder;
}

bool RecordingFields::CheckRecordingFolder() {
    const QString problem = recording::RecordingFolderUnwritable(form_.settings().RecordingFolder);
    if (!problem.isEmpty())
        form_.services().dialogs.showMessage(problem);
    return problem.isEmpty();
}

QString RecordingFields::defaultFolder() const {
    return StartupRules::defaultRecordingFolder(form_.services().folders.homeFolder()) + QLatin1Char('/');
}

bool RecordingFields::CheckRecordingFolderAtStart() {
    Settings& settings = form_.settings();
    const QString fallback = defaultFolder();
    if (settings.RecordingFolder != fallback &&
        !recording::RecordingFolderCanBeMade(settings.RecordingFolder) &&
        recording::RecordingFolderCanBeMade(fallback)) {
        form_.services().dialogs.showMessage(
            recording::FolderFallbackMessage(settings.RecordingFolder, fallback));
        settings.RecordingFolder = fallback;
    }
    return CheckRecordingFolder();
}

void RecordingFields::ResetMeetingDefaults() {
    Ui::TForm1& ui = form_.form();
    const QStringList& texts = form_.uiTexts();
    const QString s = recording::MeetingPartsText(form_.state().TodayWeekday, texts);
    SetRecordingDefaults();
    ui.GroupBox5->setTitle(texts.at(UiText::MusicBeforeMeeting) + QLatin1Char(' ') +
                           timeToString(form_.state().NextMeetingTime));
    form_.ResetMusicList();
    ResetRecordingFields(1);
    const recording::SlotLabels labels = recording::SplitSlotLabels(s);
    ui.Label4->setText(labels.Label4);
    ui.Label5->setText(labels.Label5);
}
