#pragma once

#include "common/Dialogs.h"

// Dialogs shown with Qt; calls from other threads are carried out on the user-interface thread.
class QtDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override;
    void information(const QString& title, const QString& text) override;
    void error(const QString& title, const QString& text) override;
    bool confirm(const QString& title, const QString& text) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    int runModal(QDialog& dialog) override;
};
