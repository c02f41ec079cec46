#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace velmor::test {

// Files without read permission stay unreadable for this thread even when the tests run as
// root: the capabilities that override file permissions are lowered while this lives.
class NoPermissionOverride {
public:
    NoPermissionOverride();
    ~NoPermissionOverride();
    NoPermissionOverride(const NoPermissionOverride&) = delete;
    NoPermissionOverride& operator=(const NoPermissionOverride&) = delete;

private:
    bool lowered_ = false;
    unsigned savedEffective_ = 0;
};

// A tmpfs of a few kilobytes mounted on a folder (needs root); unmounted on destruction.
class SmallFilesystem {
public:
    SmallFilesystem(const QString& folder, int kilobytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool isMounted() const { return mounted_; }
    const QString& refusal() const { return refusal_; }
    // Writes a filler file until the filesystem has no room left.
    void fill();
    void empty();

private:
    QString folder_;
    bool mounted_ = false;
    QString refusal_;
};

// The lines written to standard output while it lives (read them once with lines()).
class StdoutLines {
public:
    StdoutLines();
    ~StdoutLines();
    QStringList lines();

private:
    bool capturing_ = true;
    std::string text_;
};

} // namespace velmor::test
