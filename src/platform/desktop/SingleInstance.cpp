#include "platform/desktop/SingleInstance.h"

#include "core/base/Log.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace velmor {

namespace {
constexpr int answerTimeoutMs = 1000;
}

SingleInstance::SingleInstance(QString serverName) : name_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName() {
    return QStringLiteral("velmor-") + QString::number(::getuid());
}

bool SingleInstance::sendToRunning(const QString& request) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(answerTimeoutMs))
        return false;
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(answerTimeoutMs))
        return false;
    // The running instance answers once it has taken the request, so a request is never lost
    // to a server that is just going away.
    return socket.waitForReadyRead(answerTimeoutMs) && socket.readAll().startsWith("ok");
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket file left by an instance that crashed: nobody answered on it, so take it over.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            logLine(QStringLiteral("Could not listen for other launches: ") +
                    server_->errorString());
            return false;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QString request = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("ok\n");
                socket->flush();
                emit requestReceived(request);
            });
        }
    });
    return true;
}

} // namespace velmor
