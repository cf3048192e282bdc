// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>

// A fuzz input as `count` fields separated by NUL bytes; the last field takes the
// rest, NUL bytes and all, and missing fields are empty.
inline QList<QByteArray> fuzzFields(const uint8_t *data, size_t size, int count)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> out;
    qsizetype at = 0;
    while (out.size() < count - 1) {
        const qsizetype nul = input.indexOf('\0', at);
        if (nul < 0)
            break;
        out << input.mid(at, nul - at);
        at = nul + 1;
    }
    out << input.mid(at);
    while (out.size() < count)
        out << QByteArray();
    return out;
}

// Stops the run with a message: libFuzzer keeps the input that got here.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            qFatal("fuzz check failed: %s (%s:%d)", #condition, __FILE__, __LINE__);               \
        }                                                                                          \
    } while (false)
