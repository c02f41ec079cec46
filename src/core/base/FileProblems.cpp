#include "core/base/FileProblems.h"

#include <QThread>

namespace velmor {

// Files are written on the sync thread too: their reports join the window's thread first.
void FileProblems::set(const QString& file, const QString& line) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, file, line] { set(file, line); });
        return;
    }
    if (lines_.value(file) == line)
        return;
    lines_.insert(file, line);
    emit changed();
}

void FileProblems::clear(const QString& file) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, file] { clear(file); });
        return;
    }
    if (lines_.remove(file) > 0)
        emit changed();
}

} // namespace velmor
