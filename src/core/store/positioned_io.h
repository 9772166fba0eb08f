#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace kelvano {

/// Writes all bytes to a file descriptor at `offset`, going on after short writes; 0, or the error
/// number of the write that failed.
int writeFullyAt(int descriptor, qint64 offset, QByteArrayView bytes);

/// Reads `size` bytes from a file descriptor at `offset` into `into`, going on after short reads; the
/// bytes read (fewer only at the end of the file), or -1 with `error` set to the error number.
qsizetype readFullyAt(int descriptor, qint64 offset, char* into, qsizetype size, int& error);

} // namespace kelvano
