#pragma once

#include "core/content/UserLibraryData.h"

#include <QString>

namespace velmor {

class UserLibrary;

inline constexpr const char* suggestedLibraryFileName = "velmor-library.velmor";

// Writes the library to a file the user chose. Returns false after printing "Export failed: ".
bool exportLibraryFile(const UserLibraryData& data, const QString& path);

enum class ImportResult { merged, failed, newerSchema };

// Reads a library file and merges it into `library`. A file that cannot be read or decoded
// prints "Import failed: ", one from a newer version "Newer schema version: "; both leave the
// library unchanged.
ImportResult importLibraryFile(const QString& path, UserLibrary& library);

} // namespace velmor
