// SPDX-License-Identifier: GPL-3.0-or-later
#include "ziparchive.h"

#include <QFile>
#include <zip.h>

namespace {

GameDataError openError(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    switch (code) {
    case ZIP_ER_NOENT:
        return {GameDataError::NotFound, text};
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_MEMORY:
        return {GameDataError::Unreadable, text};
    case ZIP_ER_NOZIP:
        return {GameDataError::Unsupported, QStringLiteral("is not a zip archive")};
    default:
        return {GameDataError::Damaged, text};
    }
}

} // namespace

ZipArchive::ZipArchive(zip *archive, QByteArray bytes)
    : m_archive(archive), m_bytes(std::move(bytes))
{
    m_count = qsizetype(std::max<zip_int64_t>(zip_get_num_entries(m_archive, 0), 0));
}

const char *ZipArchive::name(qsizetype index) const
{
    const char *name = zip_get_name(m_archive, zip_uint64_t(index), ZIP_FL_ENC_RAW);
    return name ? name : "";
}

ZipArchive::~ZipArchive()
{
    zip_discard(m_archive);
}

GameDataResult<std::unique_ptr<ZipArchive>> ZipArchive::open(const QString &path)
{
    int code = ZIP_ER_OK;
    zip *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return openError(code);
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, {}));
}

GameDataResult<std::unique_ptr<ZipArchive>> ZipArchive::fromBytes(QByteArray bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    // The source only borrows the bytes; the archive object keeps them.
    zip_source_t *source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    zip *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (!archive) {
        if (source)
            zip_source_free(source);
        return openError(code);
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, std::move(bytes)));
}

GameDataResult<QByteArray> ZipArchive::read(qsizetype index, qint64 cap)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, zip_uint64_t(index), 0, &stat) != 0)
        return GameDataError{GameDataError::Damaged,
                             QString::fromLocal8Bit(zip_strerror(m_archive))};
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(cap))
        return GameDataError{GameDataError::Unsupported,
                             QStringLiteral("is %1 bytes, more than the %2 a font may take")
                                 .arg(stat.size)
                                 .arg(cap)};
    zip_file_t *file = zip_fopen_index(m_archive, zip_uint64_t(index), 0);
    if (!file)
        return GameDataError{GameDataError::Damaged,
                             QString::fromLocal8Bit(zip_strerror(m_archive))};
    // The stated size is not trusted: the buffer grows only with what inflates.
    QByteArray bytes;
    char chunk[65536];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, chunk, sizeof chunk)) > 0) {
        if (bytes.size() + got > cap) {
            zip_fclose(file);
            return GameDataError{GameDataError::Damaged,
                                 QStringLiteral("inflates past the %1 bytes it may take").arg(cap)};
        }
        bytes.append(chunk, got);
    }
    if (got < 0) {
        const QString reason = QString::fromLocal8Bit(zip_file_strerror(file));
        zip_fclose(file);
        return GameDataError{GameDataError::Damaged, reason};
    }
    zip_fclose(file);
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size != zip_uint64_t(bytes.size()))
        return GameDataError{
            GameDataError::Damaged,
            QStringLiteral("inflates to %1 bytes, but states %2").arg(bytes.size()).arg(stat.size)};
    return bytes;
}
