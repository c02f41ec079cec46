#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace velmor {

// What sync is doing, as the general screen says it.
struct SyncStatus {
    enum class State { off, waiting, syncing };
    // A file in the folder that sync leaves alone, or something it could not do.
    struct Problem {
        enum class Kind { newerFormat, unreadable, notRegular, tooLarge, cannotWrite, cannotKeep };
        Kind kind = Kind::unreadable;
        QString file;
        QString detail;

        friend bool operator==(const Problem&, const Problem&) = default;
    };

    State state = State::off;
    QString folder;
    int otherComputers = 0;
    QDateTime lastExchange; // the last look at another computer's file; invalid: never
    QList<Problem> problems;

    friend bool operator==(const SyncStatus&, const SyncStatus&) = default;
};

// One sentence for the state ("Synced with 2 other computers, last at 14:05.").
QString describeState(const SyncStatus& status);
// One sentence for a problem; the log line says the same.
QString describeProblem(const SyncStatus::Problem& problem);

} // namespace velmor
