// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamedataerror.h"
#include "regularfile.h"

#include <QByteArray>
#include <QtEndian>
#include <memory>

// Bytes that can be read at any position: a whole file, a stretch of a file
// (an archive member), or bytes in memory. Readers of archive directories read
// only what they need through it, never the whole archive.
class ByteSource : public std::enable_shared_from_this<ByteSource>
{
public:
    virtual ~ByteSource() = default;

    qint64 size() const { return m_size; }

    // `length` bytes from `position`. Reading past size() is refused as
    // damaged data ("ends after N bytes"), whatever a header claimed.
    GameDataResult<QByteArray> read(qint64 position, qint64 length);
    // The same into a buffer of the caller's, which directory scans reuse.
    GameDataError readInto(qint64 position, qint64 length, char *into);

    // A stretch of these bytes, for an archive member. It must lie inside. The
    // source must be held by a shared_ptr.
    GameDataResult<std::shared_ptr<ByteSource>> slice(qint64 position, qint64 length);

protected:
    explicit ByteSource(qint64 size) : m_size(size) {}
    // Fills `length` bytes from `position`, both already checked against size().
    virtual bool readRaw(qint64 position, qint64 length, char *into) = 0;
    virtual QString failure() const { return {}; }

private:
    qint64 m_size;
    friend class SliceSource;
};

class BufferSource : public ByteSource
{
public:
    static std::shared_ptr<ByteSource> create(QByteArray bytes);

private:
    explicit BufferSource(QByteArray bytes);
    bool readRaw(qint64 position, qint64 length, char *into) override;
    QByteArray m_bytes;
};

class FileSource : public ByteSource
{
public:
    // The whole file at `path` if it is a regular file (RegularFile's rule, so
    // a pipe or device in its place is refused as NotAFile without waiting), or
    // why not: NotFound when there is none.
    static GameDataResult<std::shared_ptr<ByteSource>> open(const QString &path);

private:
    explicit FileSource(RegularFile file);
    bool readRaw(qint64 position, qint64 length, char *into) override;
    QString failure() const override;
    RegularFile m_file;
    QString m_failure;
};

// A little-endian 32-bit field of an archive header or directory read before;
// callers read inside what they have checked, and the bound keeps that visible.
inline qint32 int32At(const QByteArray &bytes, qsizetype at)
{
    return at + 4 <= bytes.size() ? qFromLittleEndian<qint32>(bytes.constData() + at) : 0;
}
