// SPDX-License-Identifier: GPL-3.0-or-later
#include "membernames.h"

#include <cstring>
#include <limits>

namespace {

char foldedChar(char c, MemberNames::Compare compare)
{
    if (compare == MemberNames::Compare::Exact)
        return c;
    if (c >= 'a' && c <= 'z')
        c = char(c - 'a' + 'A');
    if (compare == MemberNames::Compare::Quake3 && (c == '\\' || c == ':'))
        return '/';
    return c;
}

} // namespace

MemberNames::MemberNames(const QList<QByteArray> &names, Compare compare) : m_compare(compare)
{
    m_shortest = names.isEmpty() ? std::numeric_limits<qsizetype>::max() : names.first().size();
    for (QByteArray key : names) {
        for (char &c : key)
            c = foldedChar(c, compare);
        m_shortest = std::min(m_shortest, key.size());
        m_keys.append(key);
    }
}

int MemberNames::matchSlow(const char *stored, qsizetype length) const
{
    if (const void *nul = std::memchr(stored, '\0', size_t(length)))
        length = static_cast<const char *>(nul) - stored;
    for (qsizetype k = 0; k < m_keys.size(); ++k) {
        const QByteArray &key = m_keys[k];
        if (key.size() != length)
            continue;
        qsizetype i = 0;
        while (i < length && foldedChar(stored[i], m_compare) == key[i])
            ++i;
        if (i == length)
            return int(k);
    }
    return -1;
}
