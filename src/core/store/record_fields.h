#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>

// Field codecs for the fixed-layout record files. Every field is read and written at an explicit offset
// in little-endian order; readers never look outside the record, whatever its bytes hold.

namespace kelvano {

/// The first `capacity` bytes of the text: longer texts are cut on the encoded bytes, so a
/// double-byte character at the cut can be split, exactly as stored files expect.
QByteArray cutToCapacity(QByteArrayView text, qsizetype capacity);

/// A short string of capacity N occupies N + 1 bytes: a length byte, then the text. A length byte above
/// N reads as N.
QByteArray readShortString(QByteArrayView record, qsizetype offset, qsizetype capacity);
/// The same text as a view into the record (inline: a page run reads every cell through it).
inline QByteArrayView shortStringView(QByteArrayView record, qsizetype offset, qsizetype capacity) {
    Q_ASSERT(offset + 1 + capacity <= record.size());
    const qsizetype length = std::min<qsizetype>(static_cast<quint8>(record[offset]), capacity);
    return record.sliced(offset + 1, length);
}
/// Writes the text cut to the capacity and fills the rest of the field with zeros.
void writeShortString(QByteArray& record, qsizetype offset, qsizetype capacity, QByteArrayView text);

quint8 readU8(QByteArrayView record, qsizetype offset);
quint16 readU16(QByteArrayView record, qsizetype offset);
quint32 readU32(QByteArrayView record, qsizetype offset);
qint32 readI32(QByteArrayView record, qsizetype offset);

void writeU8(QByteArray& record, qsizetype offset, quint8 value);
void writeU16(QByteArray& record, qsizetype offset, quint16 value);
void writeU32(QByteArray& record, qsizetype offset, quint32 value);
void writeI32(QByteArray& record, qsizetype offset, qint32 value);

} // namespace kelvano
