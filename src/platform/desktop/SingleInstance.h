#pragma once

#include "core/session/Requests.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace velmor {

// One Velmor per user session. The first launch takes a lock file and listens on a local
// socket beside it, both in a folder only this user can enter; a later launch hands the running
// instance a request ("reopen", "now", "pause", "resume"), one per line, and exits once it is
// answered.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Launch {
        first,      // this process holds the lock: it is the running instance
        handedOver, // the running instance took the request
        unanswered, // another instance holds the lock but did not answer in time
    };

    explicit SingleInstance(QString folder = runtimeFolder());
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR when it is ours and private, else a private folder of our own under the
    // temporary folder.
    static QString runtimeFolder();

    QString lockPath() const;
    QString socketPath() const;

    // Takes the lock, or hands `request` to the process that holds it. A holder that is still
    // starting or stalls for a moment is waited for, up to `patience`; one that died is taken
    // over.
    // `request` is one line (Requests.h's lineText).
    Launch claim(const QString& request,
                 std::chrono::milliseconds patience = std::chrono::seconds(10));
    // Starts taking requests from later launches; call once requestReceived is connected.
    bool listen();

signals:
    // With the launch's activation token, empty when it had none.
    void requestReceived(velmor::LaunchRequest request, const QString& activationToken);

private:
    enum class Answer { taken, nobody, silent };
    Answer handOver(const QString& request, const QDeadlineTimer& deadline) const;
    void serve(QLocalSocket* socket);

    QString folder_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace velmor
