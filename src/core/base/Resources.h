#pragma once

#include <QString>

namespace velmor {

// The folder of files that ship beside the program: <program folder>/resources, else the
// installed <prefix>/share/velmor. Tests may point it elsewhere.
QString resourcesDir();
void setResourcesDir(const QString& path);

// The full path of a shipped file, or an empty string when it is not there.
QString resourcePath(const QString& relativePath);

} // namespace velmor
