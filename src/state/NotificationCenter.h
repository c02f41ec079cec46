#pragma once

#include <QObject>
#include <QString>

namespace velmor {

// The application's notifications: a name, no object, no user information. Observers connect
// to `posted` and compare the name; delivery is synchronous, inside post().
class NotificationCenter final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* velmorNow = "velmorNow";
    static constexpr const char* velmorStartSession = "velmorStartSession";
    static constexpr const char* velmorStopSession = "velmorStopSession";
    static constexpr const char* velmorIntervalChanged = "velmorIntervalChanged";

    static NotificationCenter& shared();

    void post(const QString& name) { emit posted(name); }

    // Calls `handler` each time `name` is posted, until `context` is destroyed.
    template <typename Handler>
    QMetaObject::Connection observe(const QString& name, const QObject* context, Handler handler) {
        return connect(this, &NotificationCenter::posted, context,
                       [name, handler](const QString& posted) {
                           if (posted == name)
                               handler();
                       });
    }

signals:
    void posted(const QString& name);
};

} // namespace velmor
