#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>

namespace {

// Runs fn on the user-interface thread and waits for its result.
template <typename Fn> auto onUiThread(Fn fn) {
    using Result = decltype(fn());
    auto* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return fn();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, fn, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            app, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

QWidget* parentWindow() {
    return QApplication::activeWindow();
}

} // namespace

void QtDialogs::showMessage(const QString& text) {
    onUiThread([&] { QMessageBox::information(parentWindow(), QApplication::applicationName(), text); });
}

void QtDialogs::information(const QString& title, const QString& text) {
    onUiThread([&] { QMessageBox::information(parentWindow(), title, text); });
}

void QtDialogs::error(const QString& title, const QString& text) {
    onUiThread([&] { QMessageBox::critical(parentWindow(), title, text); });
}

bool QtDialogs::confirm(const QString& title, const QString& text) {
    return onUiThread([&] {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parentWindow());
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        box.exec();
        return box.clickedButton() == ok;
    });
}

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter) {
    return onUiThread([&] { return QFileDialog::getOpenFileName(parentWindow(), title, folder, filter); });
}

QString QtDialogs::saveFile(const QString& title, const QString& folder, const QString& filter) {
    return onUiThread([&] { return QFileDialog::getSaveFileName(parentWindow(), title, folder, filter); });
}

QString QtDialogs::chooseFolder(const QString& title, const QString& folder) {
    return onUiThread([&] { return QFileDialog::getExistingDirectory(parentWindow(), title, folder); });
}
