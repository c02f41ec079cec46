#include "platform/calendar/DesktopCalendar.h"

#include "core/base/Log.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QLibrary>

namespace velmor {

namespace {

// The module's one entry: a new EDS calendar source, owned by the caller.
using CreateEds = CalendarSource* (*)(int timeoutMs);
constexpr const char* createSymbol = "velmor_create_eds_calendar";

} // namespace

DesktopCalendar::DesktopCalendar(QString modulePath, QDBusConnection bus, int timeoutMs)
    : modulePath_(std::move(modulePath)), timeoutMs_(timeoutMs) {
    if (!bus.isConnected()) {
        logLine(QStringLiteral("Desktop calendars unavailable: no session bus"));
        ownersAsked_.release(2);
        return;
    }
    watcher_ = new QDBusServiceWatcher(this);
    watcher_->setConnection(bus);
    watcher_->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    watcher_->setWatchedServices(
        {QString::fromLatin1(registryName), QString::fromLatin1(factoryName)});
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString& name, const QString&, const QString& owner) {
                setOwned(name, !owner.isEmpty());
            });
    // NameHasOwner never starts a service (only a call to the name itself would).
    for (const char* name : {registryName, factoryName}) {
        const QString service = QString::fromLatin1(name);
        auto* call = new QDBusPendingCallWatcher(
            bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), service), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [this, service](auto* done) {
            const QDBusPendingReply<bool> reply = *done;
            if (reply.isValid() && reply.value())
                setOwned(service, true);
            ownersAsked_.release();
            done->deleteLater();
        });
    }
}

DesktopCalendar::~DesktopCalendar() = default;

QString DesktopCalendar::defaultModulePath() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QStringLiteral("/velmor-eds.so");
    if (QFileInfo::exists(beside))
        return beside;
    return dir + QStringLiteral("/../" VELMOR_LIBDIR "/velmor/velmor-eds.so");
}

void DesktopCalendar::setOwned(const QString& name, bool owned) {
    std::atomic<bool>& flag = name == QLatin1String(registryName) ? registry_ : factory_;
    const bool appeared = owned && !flag;
    if (appeared)
        ++appearances_;
    const bool changes = flag != owned;
    flag = owned;
    if (changes)
        changed();
}

void DesktopCalendar::reconnect() {
    if (eds_)
        eds_->reconnect();
    loadFailed_ = false;
}

std::optional<std::vector<BusySpan>> DesktopCalendar::busyBetween(std::time_t from,
                                                                  std::time_t to) {
    // The first reading, right at the start, waits for the bus to say whether EDS runs: a
    // calendar not heard from yet is not one without meetings.
    if (!ownersKnown_ && ownersAsked_.tryAcquire(2, timeoutMs_))
        ownersKnown_ = true;
    if (!servicesRunning()) {
        eds_.reset(); // they left: let go of them
        return std::nullopt;
    }
    if (eds_ && edsAppearances_ != appearances_)
        eds_.reset();
    if (!eds_ && !loadFailed_) {
        // Loaded for good: the libraries register GLib types, which cannot be unloaded.
        QLibrary module(modulePath_);
        const auto create = reinterpret_cast<CreateEds>(module.resolve(createSymbol));
        if (!create) {
            logLine(QStringLiteral("Desktop calendars unavailable: ") + module.errorString());
            loadFailed_ = true;
            return std::nullopt;
        }
        loaded_ = true;
        edsAppearances_ = appearances_;
        eds_.reset(create(timeoutMs_));
        eds_->setOnChanged(changeNotifier()); // its live views tell of new and changed events
    }
    return eds_ ? eds_->busyBetween(from, to) : std::nullopt;
}

} // namespace velmor
