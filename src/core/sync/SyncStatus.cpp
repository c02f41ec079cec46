#include "core/sync/SyncStatus.h"

#include <QCoreApplication>
#include <QLocale>

namespace velmor {

namespace {
QString tr(const char* text, int n = -1) {
    return QCoreApplication::translate("SyncStatus", text, nullptr, n);
}
} // namespace

QString describeState(const SyncStatus& status) {
    switch (status.state) {
    case SyncStatus::State::off:
        return tr("Not syncing.");
    case SyncStatus::State::waiting:
        return tr("Waiting for the folder: it is missing, or a drive is not mounted yet. What you "
                  "change meanwhile is kept here and shared once the folder is back.");
    case SyncStatus::State::syncing:
        break;
    }
    if (status.otherComputers == 0)
        return tr("Syncing. No other computer has written to this folder yet.");
    if (!status.lastExchange.isValid())
        return tr("Synced with %n other computer(s).", status.otherComputers);
    const QLocale locale;
    const QDateTime when = status.lastExchange.toLocalTime();
    const QString time = when.date() == QDate::currentDate()
                             ? locale.toString(when.time(), QLocale::ShortFormat)
                             : locale.toString(when, QLocale::ShortFormat);
    return tr("Synced with %n other computer(s), last at %1.", status.otherComputers).arg(time);
}

QString describeProblem(const SyncStatus::Problem& problem) {
    using Kind = SyncStatus::Problem::Kind;
    switch (problem.kind) {
    case Kind::newerFormat:
        return tr("%1 comes from a newer Velmor and is left alone.").arg(problem.file);
    case Kind::unreadable:
        return tr("%1 could not be read (%2); it is left alone and read again when it changes.")
            .arg(problem.file, problem.detail);
    case Kind::notRegular:
        return tr("%1 is not a regular file (a link, a pipe or a device) and is ignored.")
            .arg(problem.file);
    case Kind::tooLarge:
        return tr("%1 is larger than %2 MB and is ignored.").arg(problem.file, problem.detail);
    case Kind::cannotWrite:
        return tr("This computer's changes could not be written to the folder (%1); they are kept "
                  "here.")
            .arg(problem.detail);
    case Kind::cannotKeep:
        return tr("%1 could not be moved to the resolved-conflicts folder (%2); it stays where it "
                  "is.")
            .arg(problem.file, problem.detail);
    }
    return {};
}

} // namespace velmor
