#pragma once

#include <QString>

namespace velmor {

// One line on standard output, flushed at once: the program's only log.
void logLine(const QString& line);

} // namespace velmor
