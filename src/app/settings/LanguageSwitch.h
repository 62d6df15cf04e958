#pragma once

#include "settings/LanguageFile.h"

class QAction;
class TForm1;

// The languages of the "Sprache" menu: found at start-up, applied when chosen.
class LanguageSwitch {
public:
    explicit LanguageSwitch(TForm1& form);

    // Makes a menu item and a hidden radio button for each language file of the program's languages folder
    // and of the current folder; each item keeps the path of its file.
    void listLanguageFiles();
    // Applies the item's language file to the texts, the main window and (unless the item's Tag is 1, at
    // start-up) the dialogs, then looks the song slots up again and resets the meeting-day defaults.
    void Sprache1Click(QAction& item);
    // The language whose texts are shown: the one applied last, else the built-in one.
    QString shownLanguage() const { return shown_; }

private:
    TForm1& form_;
    QString shown_ = language::BuiltInLanguage;
};
