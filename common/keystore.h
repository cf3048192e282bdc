#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

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
// hex(1). Lines the store does not understand are kept as they are. Every write
// re-reads the file, takes a lock and replaces the file atomically, so two
// programs writing at once lose nothing.
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

    struct Result
    {
        bool ok = false;
        QString message; // why it failed; empty on success
    };

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
    Result createKey(Root root, const QString &path);

    bool keyExists(Root root, const QString &path) const;

    // Write one value into an existing key only; a missing key is a failure and
    // nothing is created. Text is stored as its bytes, no terminating zero.
    Result storeString(Root root, const QString &path, const QString &name,
                       const QByteArray &bytes);
    Result storeDword(Root root, const QString &path, const QString &name, qint32 value);

    std::optional<Value> readValue(Root root, const QString &path, const QString &name) const;

private:
    QString m_path;
};
