// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileerror.h"

#include <QTest>

// QVERIFY for an operation that returns a FileError: on failure the test shows
// the error's path and detail.
#define QVERIFY_OK(expression)                                                                     \
    do {                                                                                           \
        const FileError verifiedError_ = (expression);                                             \
        QVERIFY2(verifiedError_.ok(), qPrintable(verifiedError_.text()));                          \
    } while (false)
