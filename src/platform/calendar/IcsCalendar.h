#pragma once

#include "core/session/CalendarSource.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace velmor {

class IcsEvents;

// Meetings from the .ics files and vdir folders (a folder of .ics items, and the collections
// one level below it) that the user lists. A file is parsed again only when its modification
// time, size or inode changes, so a check normally reads nothing but the file metadata.
class IcsCalendar final : public CalendarSource {
public:
    explicit IcsCalendar(std::function<QStringList()> listedPaths);
    ~IcsCalendar() override;

    // nullopt when no listed file could be read.
    std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) override;
    void reconnect() override;

    // Files parsed since construction: a check that hits the cache parses nothing.
    int parseCount() const { return parseCount_; }

private:
    struct CachedFile;
    QStringList calendarFiles();
    const IcsEvents* eventsOf(const QString& file);

    std::function<QStringList()> listedPaths_;
    std::map<QString, std::unique_ptr<CachedFile>> cache_;
    QSet<QString> reportedMissing_;
    int parseCount_ = 0;
};

} // namespace velmor
