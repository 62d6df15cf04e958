#include "QtDialogs.h"
#include "settings/UiTexts.h"

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

// Messages end their lines with a carriage return, which a Qt label does not break at.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

void QtDialogs::showMessage(const QString& text) {
    onUiThread([&] {
        QMessageBox::information(parentWindow(), QApplication::applicationName(), displayText(text));
    });
}

void QtDialogs::information(const QString& title, const QString& text) {
    onUiThread([&] { QMessageBox::information(parentWindow(), title, displayText(text)); });
}

void QtDialogs::error(const QString& title, const QString& text) {
    onUiThread([&] { QMessageBox::critical(parentWindow(), title, displayText(text)); });
}

bool QtDialogs::confirm(const QString& title, const QString& text) {
    return onUiThread([&] {
        QMessageBox box(QMessageBox::Question, title, displayText(text), QMessageBox::NoButton,
                        parentWindow());
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.addButton(uiText(UiText::Cancel), QMessageBox::RejectRole);
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

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}
