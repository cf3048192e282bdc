// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// The few names a search looks for in an archive's directory, compared as the
// game compares them, so that a directory of any size is read once, keeping
// only its entries of these names.
class MemberNames
{
public:
    enum class Compare {
        Exact,      // Quake and Hexen II paks (strcmp)
        IgnoreCase, // Quake II paks (Q_strcasecmp)
        Quake3,     // pk3s: letters in any case, '\' and ':' as '/' (FS_FilenameCompare)
    };

    MemberNames(const QList<QByteArray> &names, Compare compare);

    qsizetype size() const { return m_keys.size(); }

    // Which of the names (its index) an entry's stored name is, or -1. Like the
    // engines, the stored name ends at its first NUL.
    int match(const char *stored, qsizetype length) const
    {
        if (length < m_shortest)
            return -1;
        return matchSlow(stored, length);
    }

private:
    int matchSlow(const char *stored, qsizetype length) const;

    QList<QByteArray> m_keys; // as compared: capitals and '/' for Quake3
    Compare m_compare;
    qsizetype m_shortest = 0;
};
