#pragma once

#include "common/Dialogs.h"

#include <QString>
#include <cstdio>

// Dialogs of a benchmark: messages go to the error output, questions are answered no.
class PrintingDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void information(const QString&, const QString& text) override { showMessage(text); }
    void error(const QString& title, const QString& text) override { showMessage(title + ": " + text); }
    bool confirm(const QString&, const QString&) override { return false; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    int runModal(QDialog&) override { return 0; }
};
