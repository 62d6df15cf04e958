#pragma once

#include "common/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <mutex>

// Records every dialog shown; answers come from scripted queues (defaults: Yes, cancelled file dialogs).
class FakeDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override {
        record(text);
        if (onMessage)
            onMessage(text);
    }
    void information(const QString& title, const QString& text) override {
        record(title + QStringLiteral(": ") + text);
    }
    void error(const QString& title, const QString& text) override {
        record(title + QStringLiteral(": ") + text);
    }
    bool confirm(const QString& title, const QString& text) override;
    QString openFile(const QString& title, const QString&, const QString&) override {
        return nextFile(title);
    }
    QString saveFile(const QString& title, const QString&, const QString&) override {
        return nextFile(title);
    }
    QString chooseFolder(const QString& title, const QString&) override { return nextFile(title); }
    // Runs `onModal` on the dialog instead of showing it (default: cancelled) and notes its title.
    int runModal(QDialog& dialog) override;

    QStringList shown() const;
    void clear();
    std::deque<bool> confirmAnswers;
    std::deque<QString> fileAnswers;
    std::function<int(QDialog&)> onModal;
    // Runs while a message is open (e.g. a nested event loop, as a message box that stays open runs one).
    std::function<void(const QString&)> onMessage;
    // Runs while a file or folder dialog is open, with its title (a drive notice can come meanwhile).
    std::function<void(const QString&)> onFileDialog;
    QStringList modalShown;

private:
    void record(const QString& text);
    QString nextFile(const QString& title);
    mutable std::mutex mutex_;
    QStringList shown_;
};
