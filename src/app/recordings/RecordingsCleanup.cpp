#include "app/recordings/RecordingsCleanup.h"

#include "app/TForm1.h"
#include "app/recordings/BusyRecordings.h"
#include "app/recordings/RecordingCopies.h"
#include "common/Clock.h"
#include "recordings/OldRecordings.h"
#include "ui_TForm1.h"

#include <QFile>

RecordingsCleanup::RecordingsCleanup(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    form_.on(ui.Button1, &QPushButton::clicked, [this] { DeleteOldRecordings(); });
    const std::pair<QAction*, const char*> items[] = {
        {ui.N30Tage1, "1"}, {ui.N60Tage1, "2"}, {ui.N90Tage1, "3"}, {ui.Nie1, "0"}};
    for (const auto& [item, code] : items)
        form_.on(item, &QAction::triggered, [this, code = QString::fromLatin1(code)] { chooseAge(code); });
}

void RecordingsCleanup::chooseAge(const QString& code) {
    Ui::TForm1& ui = form_.form();
    form_.settings().DeleteAgeCode = code;
    ui.N30Tage1->setChecked(code == QLatin1String("1"));
    ui.N60Tage1->setChecked(code == QLatin1String("2"));
    ui.N90Tage1->setChecked(code == QLatin1String("3"));
    ui.Nie1->setChecked(code == QLatin1String("0"));
}

void RecordingsCleanup::DeleteOldRecordings() {
    const int days = recordings::DeleteAgeDays(form_.settings().DeleteAgeCode);
    if (days == 0)
        return;
    const QString folder = form_.settings().RecordingFolder;
    const QSet<QString> busy = UnfinishedRecordings(form_) + form_.recordingCopies().busyFiles();
    for (const QString& path :
         recordings::OldRecordingsToDelete(folder, form_.services().clock.today(), days, busy))
        QFile::remove(path);
}
