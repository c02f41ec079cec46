#pragma once

// A private dbus-daemon with python-dbusmock services on it, for tests of the bus services.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "TestApp.h"

#include <functional>
#include <memory>
#include <vector>

namespace velmor::test {

// Generous, as the mocks answer slowly on a loaded machine; a wait that succeeds ends early.
inline bool waitFor(const std::function<bool()>& condition, int ms = 15000) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (condition())
            return true;
        QThread::msleep(10);
    }
    return condition();
}

inline bool ok(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// Everything it started stops with the object.
class MockBus {
public:
    MockBus() {
        coreApplication();
        // A bus with no service folders: a call to a service the test did not start must fail
        // at once, not activate whatever the machine has installed (a real desktop portal).
        QFile config(folder_.filePath("bus.conf"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(
            QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                           "<auth>EXTERNAL</auth><policy context=\"default\"><allow "
                           "send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                           "<allow own=\"*\"/></policy></busconfig>")
                .arg(folder_.path())
                .toUtf8());
        config.close();
        daemon_.start("dbus-daemon",
                      {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(5000))
            return;
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        connection_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address_, "mock-" + QString::number(++counter_)));
    }
    ~MockBus() {
        for (auto& mock : mocks_) {
            mock->kill();
            mock->waitForFinished();
        }
        if (connection_)
            QDBusConnection::disconnectFromBus(connection_->name());
        daemon_.kill();
        daemon_.waitForFinished();
    }
    bool ok() const { return connection_ && connection_->isConnected(); }
    QDBusConnection& bus() { return *connection_; }
    QString address() const { return address_; }

    // Starts `python3 -m dbusmock ARGS` on this bus and waits until `service` is owned.
    bool startMock(const QStringList& args, const QString& service) {
        return startPython(QStringList{"-m", "dbusmock"} + args, service);
    }
    // Starts a service of our own (a script in tests/support) the same way; false without a bus.
    bool startPython(const QStringList& args, const QString& service) {
        if (!ok())
            return false;
        auto mock = std::make_unique<QProcess>();
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", address_);
        mock->setProcessEnvironment(env);
        mock->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock->start("/usr/bin/python3", args);
        mocks_.push_back(std::move(mock));
        return waitFor([&] { return bus().interface()->isServiceRegistered(service).value(); });
    }

private:
    static inline int counter_ = 0;
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> connection_;
    std::vector<std::unique_ptr<QProcess>> mocks_;
};

} // namespace velmor::test
