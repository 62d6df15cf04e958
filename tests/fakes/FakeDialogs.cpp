#include "FakeDialogs.h"

#include <QDialog>

void FakeDialogs::record(const QString& text) {
    std::lock_guard lock(mutex_);
    shown_ << text;
}

bool FakeDialogs::confirm(const QString& title, const QString& text) {
    record(title + QStringLiteral("? ") + text);
    std::lock_guard lock(mutex_);
    if (confirmAnswers.empty())
        return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString FakeDialogs::nextFile(const QString& title) {
    record(title);
    if (onFileDialog)
        onFileDialog(title);
    std::lock_guard lock(mutex_);
    if (fileAnswers.empty())
        return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QStringList FakeDialogs::shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

void FakeDialogs::clear() {
    std::lock_guard lock(mutex_);
    shown_.clear();
}

int FakeDialogs::runModal(QDialog& dialog) {
    modalShown << dialog.windowTitle();
    return onModal ? onModal(dialog) : QDialog::Rejected;
}
