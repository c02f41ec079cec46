#pragma once

#include <QObject>

namespace velmor {

// What the tray, the global shortcut, the command line and the screens ask of the session.
enum class Command { showNow, startSession, stopSession, intervalChanged };

// The application's commands as typed signals: a sender calls send(), an observer connects to
// the signal it cares about. Delivery is synchronous, inside send().
class Commands final : public QObject {
    Q_OBJECT
public:
    static Commands& shared();

    void send(Command command);

signals:
    void showNow();         // an overlay now ("velmorNow")
    void startSession();    // a fresh session ("velmorStartSession")
    void stopSession();     // the session stops ("velmorStopSession")
    void intervalChanged(); // the interval settings changed ("velmorIntervalChanged")
};

} // namespace velmor
