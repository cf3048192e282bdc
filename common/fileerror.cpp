// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileerror.h"

#include <QtGlobal>

FileError FileError::fromErrno(Kind kind, const QString &path, int errnum)
{
    return {kind, path, qt_error_string(errnum)};
}

QString FileError::text() const
{
    if (m_path.isEmpty())
        return m_detail;
    return m_path + QLatin1String(": ") + m_detail;
}
