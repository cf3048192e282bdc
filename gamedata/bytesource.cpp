// SPDX-License-Identifier: GPL-3.0-or-later
#include "bytesource.h"

namespace {

GameDataError endsEarly(qint64 size, qint64 position, qint64 length)
{
    return {GameDataError::Damaged,
            QStringLiteral("ends after %1 bytes, but %2 bytes at %3 are wanted")
                .arg(size)
                .arg(length)
                .arg(position)};
}

} // namespace

class SliceSource : public ByteSource
{
public:
    SliceSource(std::shared_ptr<ByteSource> whole, qint64 offset, qint64 size)
        : ByteSource(size), m_whole(std::move(whole)), m_offset(offset)
    {}

private:
    bool readRaw(qint64 position, qint64 length, char *into) override
    {
        return m_whole->readRaw(m_offset + position, length, into);
    }
    QString failure() const override { return m_whole->failure(); }

    std::shared_ptr<ByteSource> m_whole;
    qint64 m_offset;
};

GameDataResult<QByteArray> ByteSource::read(qint64 position, qint64 length)
{
    if (position < 0 || length < 0 || position > m_size || length > m_size - position)
        return endsEarly(m_size, position, length);
    QByteArray bytes(length, Qt::Uninitialized);
    if (const GameDataError error = readInto(position, length, bytes.data()); !error.ok())
        return error;
    return bytes;
}

GameDataError ByteSource::readInto(qint64 position, qint64 length, char *into)
{
    if (position < 0 || length < 0 || position > m_size || length > m_size - position)
        return endsEarly(m_size, position, length);
    if (!readRaw(position, length, into))
        return GameDataError{GameDataError::Unreadable, failure()};
    return {};
}

GameDataResult<std::shared_ptr<ByteSource>> ByteSource::slice(qint64 position, qint64 length)
{
    if (position < 0 || length < 0 || position > m_size || length > m_size - position)
        return endsEarly(m_size, position, length);
    return std::shared_ptr<ByteSource>(
        std::make_shared<SliceSource>(shared_from_this(), position, length));
}

BufferSource::BufferSource(QByteArray bytes) : ByteSource(bytes.size()), m_bytes(std::move(bytes))
{}

std::shared_ptr<ByteSource> BufferSource::create(QByteArray bytes)
{
    return std::shared_ptr<ByteSource>(new BufferSource(std::move(bytes)));
}

bool BufferSource::readRaw(qint64 position, qint64 length, char *into)
{
    std::copy_n(m_bytes.constData() + position, length, into);
    return true;
}

FileSource::FileSource(RegularFile file) : ByteSource(file.size()), m_file(std::move(file)) {}

GameDataResult<std::shared_ptr<ByteSource>> FileSource::open(const QString &path)
{
    RegularFile file;
    if (const FileError error = file.open(path); !error.ok())
        return GameDataError::fromFile(error);
    if (!file.isOpen())
        return GameDataError{GameDataError::NotFound, path + QStringLiteral(": no such file")};
    return std::shared_ptr<ByteSource>(new FileSource(std::move(file)));
}

bool FileSource::readRaw(qint64 position, qint64 length, char *into)
{
    qint64 got = 0;
    const FileError error = m_file.readAt(position, into, length, got);
    if (!error.ok()) {
        m_failure = error.text();
        return false;
    }
    if (got < length) {
        // Cut short since it was opened.
        m_failure = QStringLiteral("%1: ends after %2 bytes, but %3 bytes at %4 are wanted")
                        .arg(m_file.path())
                        .arg(position + got)
                        .arg(length)
                        .arg(position);
        return false;
    }
    return true;
}

QString FileSource::failure() const
{
    return m_failure;
}
