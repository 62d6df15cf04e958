#include "LogindPower.h"
#include "settings/UiTexts.h"

#include <QDBusError>
#include <QDBusMessage>

LogindPower::LogindPower(QDBusConnection bus) : bus_(std::move(bus)) {}

QString LogindPower::powerOff() {
    if (!bus_.isConnected())
        return uiText(UiText::PowerOffNoConnection, bus_.lastError().message());
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false; // not interactive: no password question in the middle of the hall
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 25000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return uiText(UiText::PowerOffRefused, reply.errorMessage());
    return {};
}
