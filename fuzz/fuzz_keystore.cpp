// SPDX-License-Identifier: GPL-3.0-or-later
// The key store's load, save and load again, on any file and any value:
//   flags NUL key path NUL value name NUL value NUL other path NUL other name NUL file
// (flags: bit 0 the local-machine root, bit 1 a number rather than text). A stored
// value reads back as stored, its key exists, storing it again changes nothing,
// and any other value reads as before.
#include "fuzzfields.h"
#include "keystore.h"

#include <cstring>

namespace {

using Root = KeyStore::Root;
using Value = KeyStore::Value;

bool sameValue(const std::optional<Value> &a, const std::optional<Value> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->type == b->type && a->bytes == b->bytes && a->dword == b->dword);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> f = fuzzFields(data, size, 7);
    const int flags = f[0].isEmpty() ? 0 : quint8(f[0].at(0));
    const Root root = (flags & 1) ? Root::LocalMachine : Root::CurrentUser;
    const QString path = QString::fromLatin1(f[1]);
    const QString name = QString::fromLatin1(f[2]);
    const QString otherPath = QString::fromLatin1(f[4]);
    const QString otherName = QString::fromLatin1(f[5]);
    const QByteArray &file = f[6];

    Value value;
    if (flags & 2) {
        value.type = Value::Type::Dword;
        qint32 number = 0;
        std::memcpy(&number, f[3].leftJustified(4, '\0').constData(), sizeof number);
        value.dword = number;
    } else {
        value.type = Value::Type::String;
        value.bytes = f[3];
    }

    const auto otherBefore = KeyStore::valueIn(file, root, otherPath, otherName);
    QByteArray saved;
    if (!KeyStore::storeIn(file, root, path, name, value, KeyStore::MissingKey::Create, saved).ok())
        return 0;
    FUZZ_CHECK(sameValue(KeyStore::valueIn(saved, root, path, name), value));
    QByteArray again;
    FUZZ_CHECK(
        KeyStore::storeIn(saved, root, path, name, value, KeyStore::MissingKey::Refuse, again)
            .ok());
    FUZZ_CHECK(again == saved);
    const bool same = otherPath.compare(path, Qt::CaseInsensitive) == 0 &&
                      otherName.compare(name, Qt::CaseInsensitive) == 0;
    if (!same)
        FUZZ_CHECK(sameValue(KeyStore::valueIn(saved, root, otherPath, otherName), otherBefore));
    return 0;
}
