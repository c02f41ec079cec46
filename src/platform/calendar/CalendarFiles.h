#pragma once

#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace velmor {

class SettingsStore;

// The .ics files and vdir folders the user lists: the settings key "calendarFiles" holds a JSON
// array of paths as a string, e.g. ["~/calendars/work.ics", "~/.calendars/personal"]. A
// leading "~/" means the home folder.
inline constexpr const char* calendarFilesKey = "calendarFiles";

// nullopt when the text is not a JSON array of strings; an empty text is an empty list.
std::optional<QStringList> parseCalendarFiles(const QString& json);

// Reads the setting; a malformed value gives an empty list and one log line per new value.
QStringList listedCalendarFiles(const SettingsStore& store);

// The listed paths as last read from the settings, for a calendar asked on another thread:
// update() on the settings' thread, paths() anywhere.
class CalendarFileList {
public:
    explicit CalendarFileList(const SettingsStore& store) : store_(store) {}
    void update();
    QStringList paths() const;

private:
    const SettingsStore& store_;
    mutable std::mutex mutex_;
    QStringList paths_;
};

} // namespace velmor
