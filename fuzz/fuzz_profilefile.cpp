// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's reader and writer on any file and any entry:
//   section NUL key NUL value NUL other-key NUL file
// Whatever is written reads back (cut at 254 characters), writing it again
// changes nothing, and no other key of the section reads differently.
#include "fuzzfields.h"
#include "profilefile.h"

namespace {

QString cut(QString value)
{
    if (value.size() > ProfileFile::kMaxValueLength) {
        value.truncate(ProfileFile::kMaxValueLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> f = fuzzFields(data, size, 5);
    const QString section = QString::fromUtf8(f[0]);
    const QString key = QString::fromUtf8(f[1]);
    const QString value = QString::fromUtf8(f[2]);
    const QString other = QString::fromUtf8(f[3]);
    const QByteArray &file = f[4];

    const QString otherBefore = ProfileFile::valueIn(file, section, other);
    if (!ProfileFile::checkEntry(section, key, value).ok())
        return 0;
    const QByteArray written = ProfileFile::withValue(file, section, key, value);
    FUZZ_CHECK(ProfileFile::valueIn(written, section, key) == cut(value));
    FUZZ_CHECK(ProfileFile::withValue(written, section, key, value) == written);
    if (other.trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0)
        FUZZ_CHECK(ProfileFile::valueIn(written, section, other) == otherBefore);
    return 0;
}
