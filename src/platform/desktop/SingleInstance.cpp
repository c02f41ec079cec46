#include "platform/desktop/SingleInstance.h"

#include "core/base/Log.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {

constexpr qint64 readChunk = 4096;

// A real folder (not a link), owned by us, that nobody else may enter.
bool isPrivateFolder(const QString& path, bool followLinks) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    const int status = followLinks ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
    return status == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 0777) == 0700;
}

// velmor-<uid> under the temporary folder. A name some other user took, or a folder of ours
// that others could have entered, is passed over for the next name, so every launch of this
// user settles on the same folder.
QString privateTemporaryFolder() {
    const QString base =
        QDir::tempPath() + QStringLiteral("/velmor-") + QString::number(::getuid());
    for (int attempt = 1; attempt <= 9; ++attempt) {
        const QString path =
            attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        // mkdir is atomic: a folder that appears between two launches is checked the same way.
        ::mkdir(QFile::encodeName(path).constData(), 0700);
        if (isPrivateFolder(path, false))
            return path;
    }
    QByteArray unique = QFile::encodeName(base + QStringLiteral("-XXXXXX"));
    if (::mkdtemp(unique.data()) != nullptr) {
        logLine(QStringLiteral("No private folder for the launch socket under ") +
                QDir::tempPath() + QStringLiteral(": later launches will start their own Velmor"));
        return QFile::decodeName(unique);
    }
    return base;
}

} // namespace

SingleInstance::SingleInstance(QString folder)
    : folder_(std::move(folder)), lock_(folder_ + QStringLiteral("/velmor.lock")) {
    // Only a holder that is gone is stale, however long a running instance has held the lock.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime, true))
            return runtime;
        logLine(QStringLiteral("XDG_RUNTIME_DIR is not a private folder of this user: ") + runtime);
    }
    return privateTemporaryFolder();
}

QString SingleInstance::lockPath() const {
    return lock_.fileName();
}

QString SingleInstance::socketPath() const {
    return folder_ + QStringLiteral("/velmor.socket");
}

SingleInstance::Launch SingleInstance::claim(const QString& request,
                                             std::chrono::milliseconds patience) {
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (lock_.tryLock(0))
            return Launch::first;
        if (lock_.error() != QLockFile::LockFailedError) {
            // A folder we cannot write to: one instance can no longer be promised, so run
            // unless one already answers.
            logLine(QStringLiteral("Could not take the instance lock ") + lockPath());
            return handOver(request, QDeadlineTimer(1000)) == Answer::taken ? Launch::handedOver
                                                                            : Launch::first;
        }
        switch (handOver(request, deadline)) {
        case Answer::taken:
            return Launch::handedOver;
        case Answer::silent:
            return Launch::unanswered;
        case Answer::nobody:
            // The holder is still starting, or has just died: its lock goes stale.
            break;
        }
        if (deadline.hasExpired())
            return Launch::unanswered;
        QThread::msleep(50);
    }
}

SingleInstance::Answer SingleInstance::handOver(const QString& request,
                                                const QDeadlineTimer& deadline) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return Answer::nobody;
    socket.write(request.toUtf8() + '\n');
    socket.flush();
    // A stalled instance has the request in its socket and answers once it runs again.
    while (!socket.canReadLine()) {
        if (socket.state() != QLocalSocket::ConnectedState)
            return Answer::nobody;
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return socket.state() == QLocalSocket::ConnectedState ? Answer::silent : Answer::nobody;
    }
    const QByteArray answer = socket.readLine().trimmed();
    if (!answer.startsWith("ok"))
        logLine(QStringLiteral("The running Velmor answered: ") + QString::fromUtf8(answer));
    return Answer::taken;
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file here was left by an instance that has died.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        logLine(QStringLiteral("Could not listen for other launches: ") + server_->errorString());
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    });
    return true;
}

void SingleInstance::serve(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Qt reads no more than this ahead of us, and RequestLines keeps one short line at most.
    socket->setReadBufferSize(readChunk);
    auto lines = std::make_shared<RequestLines>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, lines] {
        QList<RequestLine> requests;
        while (socket->bytesAvailable() > 0 && !lines->overflowed()) {
            for (const QByteArray& line : lines->take(socket->read(readChunk))) {
                if (line.trimmed().isEmpty())
                    continue;
                socket->write(answerTo(line) + '\n');
                if (const auto r = parseRequestLine(QString::fromUtf8(line.trimmed())))
                    requests.append(*r);
            }
        }
        if (lines->overflowed()) {
            socket->write("error: request too long\n");
            socket->flush();
            socket->abort();
            socket->deleteLater();
        }
        // The answers go out now: acting on a request may take a while, and on "quit" the
        // program ends before the event loop would send them. The client may leave
        // meanwhile, so the socket is not touched after this point.
        socket->flush();
        for (const RequestLine& r : requests)
            emit requestReceived(r.request, r.activationToken);
    });
}

} // namespace velmor
