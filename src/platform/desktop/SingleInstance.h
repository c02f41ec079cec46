#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace velmor {

// One Velmor per user session. The first launch listens on a local socket; a later launch hands
// it a request ("reopen", "now", "pause", "resume") and exits.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName = defaultServerName());
    ~SingleInstance() override;

    static QString defaultServerName();

    // Sends `request` to a running instance; true when one took it.
    bool sendToRunning(const QString& request);
    // Becomes the running instance; false if the socket cannot be had.
    bool listen();

signals:
    void requestReceived(const QString& request);

private:
    QString name_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace velmor
