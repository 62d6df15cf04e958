#include "app/settings/LanguageSwitch.h"

#include "app/TForm1.h"
#include "app/recording/RecordingFields.h"
#include "app/settings/MainCaptions.h"
#include "app/songs/SongLibrary.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "common/TextFile.h"
#include "settings/LanguageFile.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

#include <QRadioButton>

LanguageSwitch::LanguageSwitch(TForm1& form) : form_(form) {}

void LanguageSwitch::listLanguageFiles() {
    Ui::TForm1& ui = form_.form();
    const Services& services = form_.services();
    const std::vector<language::LanguageEntry> languages =
        language::ListLanguages(services.folders.languagesFolder(), services.folders.currentFolder());
    ui.FileListBox1->clear();
    if (languages.empty())
        return;
    int widest = 0;
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const QString path = languages[i].path();
        ui.FileListBox1->addItem(languages[i].fileName);
        const QString name = TextFile::readLines(path).value(0);
        widest = std::max(widest, form_.fontMetrics().horizontalAdvance(name));
        QAction* item = ui.Sprache1->addAction(name);
        item->setProperty("Tag", 0);
        item->setProperty("path", path);
        form_.on(item, &QAction::triggered, [this, item] { Sprache1Click(*item); });
        form_.NewItem().push_back(item);
        auto* button = new QRadioButton(name, &form_);
        button->move(0, static_cast<int>(i) * 10);
        button->hide();
        form_.NewButton().push_back(button);
        form_.NewButton().front()->setProperty("Tag", widest);
    }
    form_.state().LanguageCount = static_cast<int>(languages.size());
    ui.Sprache1->menuAction()->setVisible(true);
}

void LanguageSwitch::Sprache1Click(QAction& item) {
    AppState& state = form_.state();
    const QString path = item.property("path").toString();
    QStringList texts = form_.uiTexts();
    const language::AppliedLanguage applied =
        language::ApplyLanguageLines(TextFile::readLines(path), path, form_.songConfig().pfad, texts);
    setCurrentUiTexts(texts);
    if (applied.headerRead) {
        state.SongLanguageCode = applied.songLanguageCode;
        state.pfad_lk = applied.pfad_lk;
    }
    if (!applied.error.isEmpty()) {
        form_.services().dialogs.error(QStringLiteral("Kandolor"), applied.error);
        return;
    }
    Ui::TForm1& ui = form_.form();
    ui.ListBox2->clear();
    ui.ListBox2->addItems(form_.uiTexts());
    applyUiCaptions(ui, form_.uiTexts(), ui.BitBtn4->property("Tag").toInt() != 0);
    if (item.property("Tag").toInt() != 1)
        form_.applyDialogTexts();
    item.setProperty("Tag", 0);
    shown_ = item.text();
    for (int slot = 3; slot >= 1; --slot)
        form_.songs().ComboBoxChange(slot);
    form_.recordingFields().ResetMeetingDefaults();
}
