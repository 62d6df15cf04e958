#include "platform/LogindPower.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QProcess>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

namespace {

// Stands in for logind on a private bus: records the PowerOff calls, or refuses them.
class StandInLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    std::atomic<int> calls{0};
    std::atomic<bool> lastInteractive{true};
    bool refuse = false;

public slots:
    void PowerOff(bool interactive, const QDBusMessage& message) {
        ++calls;
        lastInteractive = interactive;
        if (!refuse)
            return;
        message.setDelayedReply(true);
        QDBusConnection::connectToBus(address, QStringLiteral("logind"))
            .send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                                           QStringLiteral("Zugriff verweigert")));
    }

public:
    QString address;
};

// A private session bus for the test, and the stand-in served on a thread of its own.
class LogindPowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000))
            GTEST_SKIP() << "no dbus-daemon to run a private bus: " << daemon.errorString().toStdString();
        address = QString::fromLatin1(daemon.readLine()).trimmed();
        logind.address = address;
        logind.moveToThread(&serving);
        serving.start();
        bool registered = false;
        QMetaObject::invokeMethod(
            &logind,
            [&] {
                QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
                registered = bus.registerService(QStringLiteral("org.freedesktop.login1")) &&
                             bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                                QDBusConnection::ExportAllSlots);
            },
            Qt::BlockingQueuedConnection);
        ASSERT_TRUE(registered);
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("caller"));
        if (serving.isRunning()) {
            QMetaObject::invokeMethod(
                &logind, [] { QDBusConnection::disconnectFromBus(QStringLiteral("logind")); },
                Qt::BlockingQueuedConnection);
            serving.quit();
            serving.wait();
        }
        daemon.kill();
        daemon.waitForFinished();
    }
    QDBusConnection caller() { return QDBusConnection::connectToBus(address, QStringLiteral("caller")); }

    QProcess daemon;
    QString address;
    StandInLogind logind;
    QThread serving;
};

} // namespace

TEST_F(LogindPowerTest, AsksLogindToPowerOffWithoutAQuestion) {
    LogindPower power(caller());
    EXPECT_EQ(power.powerOff(), QString());
    EXPECT_EQ(logind.calls, 1);
    EXPECT_FALSE(logind.lastInteractive);
}

TEST_F(LogindPowerTest, ARefusalAndAMissingBusAreToldInGerman) {
    logind.refuse = true;
    LogindPower refused(caller());
    EXPECT_EQ(refused.powerOff(), "Der Computer wurde nicht heruntergefahren: Zugriff verweigert");
    LogindPower nowhere(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "nowhere"));
    EXPECT_TRUE(nowhere.powerOff().startsWith("Der Computer kann nicht heruntergefahren werden"));
}

#include "logind_power_test.moc"
