#include "core/base/FileProblems.h"

namespace velmor {

void FileProblems::set(const QString& file, const QString& line) {
    if (lines_.value(file) == line)
        return;
    lines_.insert(file, line);
    emit changed();
}

void FileProblems::clear(const QString& file) {
    if (lines_.remove(file) > 0)
        emit changed();
}

} // namespace velmor
