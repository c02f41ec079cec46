#pragma once

#include "core/base/Clock.h"
#include "core/base/Files.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velmor {

// The user-defaults store: a flat key-value map (strings, doubles, booleans) kept in memory and
// mirrored to one JSON file. Reads and writes are immediate in memory; the file is rewritten
// atomically shortly after a change and when the store is flushed or destroyed, never merely
// because it was read. A file that cannot be read leaves the store empty and is kept aside
// before it is written over.
class SettingsStore {
public:
    // An empty path keeps everything in memory (tests).
    SettingsStore(QString filePath, Clock& clock);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    static SettingsStore& shared();
    static QString defaultPath();

    // The written value, else the registered default, else undefined.
    QJsonValue value(const QString& key) const;
    bool contains(const QString& key) const { return values_.contains(key); }
    std::optional<QString> string(const QString& key) const;
    double doubleValue(const QString& key) const; // 0 when missing or unreadable
    bool boolValue(const QString& key) const;     // false when missing or unreadable

    void registerDefault(const QString& key, const QJsonValue& value);
    void setValue(const QString& key, const QJsonValue& value);
    void remove(const QString& key);

    // Writes a pending change now.
    void flush();
    // Where the window hears that the file could not be saved or read.
    void reportProblemsTo(FileProblems* problems) { file_.reportTo(problems); }

    // Values as a person editing the file meant them: true, 1, "true", "yes" (any case) are
    // true; false, 0, "false", "no" are false; a number may also be written as a string.
    // Anything else reads as nothing.
    static std::optional<bool> readBool(const QJsonValue& value);
    static std::optional<double> readNumber(const QJsonValue& value);

private:
    void load();
    void scheduleWrite();

    OwnedFile file_;
    Clock& clock_;
    OneShot writeTimer_;
    QJsonObject values_;
    QJsonObject defaults_;
    bool dirty_ = false;
};

} // namespace velmor
