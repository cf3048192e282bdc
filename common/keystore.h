#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class AtomicFile;

// The per-user hierarchical key store: keys hold named values, either text
// (stored as bytes, Windows-1252 for names) or 32-bit numbers. Key and value names
// compare case-insensitively and keep the case they were created with.
//
// Kept in a REGEDIT4-style text file that people can read and import:
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Example]
//   "Plain"="text with \\ and \" escaped"
//   "Bytes"=hex(1):41,e9,42
//   "Count"=dword:0000000a
// Text that a plain string cannot carry (bytes outside 0x20..0x7E) is written as
// hex(1). A hex value continues on the next line while its line ends in a
// backslash; a blank line ends it all the same. Lines the store does not
// understand are kept as they are. Every write goes through TextFile::update
// (lock, fresh read, one edit, atomic replace), so two programs writing at once
// lose nothing; each operation reads the file once.
//
// The file is Windows-1252 text, as REGEDIT4 files are; key and value names must
// be representable in it and hold no line break. A key exists once it has a
// section of its own or a section below it. The empty value name is the key's
// default value, written as @. Where a value appears twice the later one counts,
// as it would on import. A missing file is an empty store; the first write
// creates it and its folder.
class KeyStore
{
public:
    enum class Root { CurrentUser, LocalMachine };
    enum class MissingKey { Refuse, Create };

    // A store holding a few hundred thousand keys stays well below this.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    struct Value
    {
        enum class Type { String, Dword, Other };
        Type type = Type::Other;
        QByteArray bytes; // String: the text's bytes; Other: the raw line text after '='
        qint32 dword = 0;
    };

    explicit KeyStore(const QString &filePath);

    // The store both programs share (AppPaths::keyStoreFile()).
    static KeyStore userStore();

    QString filePath() const { return m_path; }

    // Creates the key and every missing parent; an existing key is left as it is.
    // `path` uses backslashes: "Software\\GameSpy\\GameSpy 3D\\Profiles"; the empty
    // path is the root itself, which always exists.
    FileError createKey(Root root, const QString &path);

    bool keyExists(Root root, const QString &path) const;

    // Writes one value. A missing key is refused with kind NotFound and nothing
    // written, unless `missing` says Create: then the key and the value are
    // written together, in one write. Text is stored as its bytes, no terminating
    // zero. When `kept` is given, the write is handed over revertible (see
    // AtomicFile::commit()).
    FileError storeString(Root root, const QString &path, const QString &name,
                          const QByteArray &bytes, MissingKey missing = MissingKey::Refuse,
                          std::unique_ptr<AtomicFile> *kept = nullptr);
    FileError storeDword(Root root, const QString &path, const QString &name, qint32 value,
                         MissingKey missing = MissingKey::Refuse);

    std::optional<Value> readValue(Root root, const QString &path, const QString &name) const;

    // The same operations on a file's bytes, without the file, for tests and the
    // fuzz harness. `edited` receives the new bytes; an error leaves it alone, and
    // an edit that changes nothing leaves it equal to `data`.
    static FileError storeIn(const QByteArray &data, Root root, const QString &path,
                             const QString &name, const Value &value, MissingKey missing,
                             QByteArray &edited);
    static std::optional<Value> valueIn(const QByteArray &data, Root root, const QString &path,
                                        const QString &name);

private:
    FileError storeValue(Root root, const QString &path, const QString &name,
                         const QByteArray &data, MissingKey missing,
                         std::unique_ptr<AtomicFile> *kept);

    QString m_path;
};
