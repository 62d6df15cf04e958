#pragma once

#include <QString>

class QDialog;

// Message boxes and file dialogs. Real: Qt dialogs (safe to call from any thread);
// tests: a scripted fake.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain message box with an OK button and the program's title.
    virtual void showMessage(const QString& text) = 0;
    // Message box with its own title and an OK button.
    virtual void information(const QString& title, const QString& text) = 0;
    // Warning box with its own title and an OK button (the audio device errors).
    virtual void error(const QString& title, const QString& text) = 0;
    // Question with the buttons "OK" and "Abbrechen"; true for OK.
    virtual bool confirm(const QString& title, const QString& text) = 0;
    // File dialogs; an empty result means cancelled.
    virtual QString openFile(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
    // Shows one of the program's own dialogs modally; returns its result (QDialog::Accepted or Rejected).
    virtual int runModal(QDialog& dialog) = 0;
};
