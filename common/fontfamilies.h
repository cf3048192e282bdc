#pragma once

#include <QString>
#include <QStringList>

// Choosing fonts without making Qt search every installed family. Qt checks a
// list of fallback fonts against every installed family, work that grows with the
// square of the families (with a few thousand, most of a program's start), and
// does it for every font whose first family is not installed (generic names such
// as "Sans Serif" included) and every merging font that names more than one
// family, once per family, style and script. So a font names one installed
// family, and a program resolves at most one generic name.
namespace FontFamilies {

// The family the application's font resolves to: the desktop's choice, or
// fontconfig's sans-serif face where no desktop sets one. Resolved once per
// program, at the cost of one generic name (which any text in the application's
// font costs anyway).
QString systemFamily();

// The first of `families` that is installed; the system family when none is.
// `installed` is QFontDatabase::families(), or that list without foundry tags.
QString firstInstalled(const QStringList &families, const QStringList &installed);
QString firstInstalled(const QStringList &families);

} // namespace FontFamilies
