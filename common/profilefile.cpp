#include "profilefile.h"

// Placeholder until the real reader/writer lands.
namespace ProfileFile {
QString readValue(const QString &, const QString &, const QString &) { return {}; }
bool writeValue(const QString &, const QString &, const QString &, const QString &) { return false; }
} // namespace ProfileFile
