#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace velmor {

// Says when the sync folder may have changed. The folder and its files are watched (the caller
// hands the paths again after every look, since a file replaced by a rename leaves its watch);
// mounts and unmounts are followed through /proc/self/mountinfo, after which every watch is set
// up afresh on what is mounted now; and a slow poll catches what network file systems never
// report.
class FolderWatch final : public QObject {
    Q_OBJECT
public:
    // Folds a sync program's temporary file and rename into one look.
    static constexpr int settleMilliseconds = 120;
    static constexpr int pollSeconds = 30;

    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;

    // From now on, these folders and files (those that exist).
    void watch(const QStringList& paths);

signals:
    void changed();

private:
    void mountsChanged();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer poll_;
    int mountsFd_ = -1;
    QSocketNotifier* mounts_ = nullptr;
};

} // namespace velmor
