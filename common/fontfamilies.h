#pragma once

#include <QStringList>

namespace FontFamilies {

// `families` from the first one installed on, or all of them when none is. The
// face is the one Qt would pick from the whole list; naming it first spares a
// fontconfig search, for every script laid out, for a family that is not there.
QStringList firstInstalledOnward(const QStringList &families);

} // namespace FontFamilies
