#pragma once

#include "core/sync/SyncState.h"

#include <QByteArray>
#include <QStringList>

namespace velmor {

// What one computer's file in the sync folder holds ("device-<id>.json"): its whole merged
// state, who wrote it, and the device ids it gave up. The local copy of the state
// ("sync-state.json") is the same file with this computer's own bookkeeping added.
struct SyncFile {
    static constexpr int currentFormat = 1;

    QString device;
    QString host;    // for people reading the folder
    QString machine; // tells this computer's writes from a copied home's
    QStringList retired;
    SyncState state;

    // Only in the local copy.
    qint64 clock = 0;        // the hybrid clock's last time
    qint64 lastExchange = 0; // wall milliseconds of the last look at another computer's file

    friend bool operator==(const SyncFile&, const SyncFile&) = default;
};

// Entries sorted by id, so that the same state always gives the same bytes.
QByteArray encodeSyncFile(const SyncFile& file, bool withLocalBookkeeping);
// The local copy from the shared file's bytes, without encoding the entries again.
QByteArray addLocalBookkeeping(QByteArray shared, const SyncFile& file);

struct SyncFileRead {
    enum Status { read, damaged, newerFormat };
    Status status = damaged;
    SyncFile file;
    QString error;
};
SyncFileRead decodeSyncFile(const QByteArray& bytes);

} // namespace velmor
