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
    if (!readRaw(position, length, bytes.data()))
        return GameDataError{GameDataError::Unreadable, failure()};
    return bytes;
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

FileSource::FileSource(std::unique_ptr<QFile> file)
    : ByteSource(file->size()), m_file(std::move(file))
{}

GameDataResult<std::shared_ptr<ByteSource>> FileSource::open(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        const auto kind = file->exists() ? GameDataError::Unreadable : GameDataError::NotFound;
        return GameDataError{kind, path + QStringLiteral(": ") + file->errorString()};
    }
    return std::shared_ptr<ByteSource>(new FileSource(std::move(file)));
}

bool FileSource::readRaw(qint64 position, qint64 length, char *into)
{
    return m_file->seek(position) && m_file->read(into, length) == length;
}

QString FileSource::failure() const
{
    return m_file->fileName() + QStringLiteral(": ") + m_file->errorString();
}
