// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// Fails the calls that put our temporary files on the disk, one chosen call at a
// time, as a full or failing disk would. The test executable defines write(),
// fsync(), fdatasync(), close() and rename() itself: every call in the process
// comes here first (the programs' code and Qt's alike) and goes on to the C
// library's, unless it is the armed one. Only calls on temporaries of ours
// (".glyphsmith-" names) below the armed folder count.
namespace FaultShim {

enum class Fault {
    NoSpace,       // ENOSPC
    IoError,       // EIO
    ShortThenFull, // a write puts half its bytes on the disk, and every later write fails: ENOSPC
    Partial,       // a write puts half its bytes on the disk, and later ones go on normally
};

// Counts the calls from now on; the calls numbered in `failAt` (from 1) fail.
void arm(const QByteArray &folder, QList<int> failAt, Fault fault);
// Stops counting; returns what was counted: "write", "fsync", "close", "rename".
QStringList disarm();

} // namespace FaultShim
