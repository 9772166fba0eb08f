#include "core/store/record_fields.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace kelvano {

QByteArray cutToCapacity(QByteArrayView text, qsizetype capacity) {
    return text.first(std::min(text.size(), capacity)).toByteArray();
}

QByteArray readShortString(QByteArrayView record, qsizetype offset, qsizetype capacity) {
    return shortStringView(record, offset, capacity).toByteArray();
}

void writeShortString(QByteArray& record, qsizetype offset, qsizetype capacity, QByteArrayView text) {
    Q_ASSERT(offset + 1 + capacity <= record.size());
    const QByteArray stored = cutToCapacity(text, capacity);
    char* field = record.data() + offset;
    std::memset(field, 0, static_cast<size_t>(capacity + 1));
    field[0] = static_cast<char>(stored.size());
    std::memcpy(field + 1, stored.constData(), static_cast<size_t>(stored.size()));
}

quint8 readU8(QByteArrayView record, qsizetype offset) {
    return static_cast<quint8>(record[offset]);
}

quint16 readU16(QByteArrayView record, qsizetype offset) {
    Q_ASSERT(offset + 2 <= record.size());
    return qFromLittleEndian<quint16>(record.data() + offset);
}

quint32 readU32(QByteArrayView record, qsizetype offset) {
    Q_ASSERT(offset + 4 <= record.size());
    return qFromLittleEndian<quint32>(record.data() + offset);
}

qint32 readI32(QByteArrayView record, qsizetype offset) {
    Q_ASSERT(offset + 4 <= record.size());
    return qFromLittleEndian<qint32>(record.data() + offset);
}

void writeU8(QByteArray& record, qsizetype offset, quint8 value) {
    record[offset] = static_cast<char>(value);
}

void writeU16(QByteArray& record, qsizetype offset, quint16 value) {
    qToLittleEndian(value, record.data() + offset);
}

void writeU32(QByteArray& record, qsizetype offset, quint32 value) {
    qToLittleEndian(value, record.data() + offset);
}

void writeI32(QByteArray& record, qsizetype offset, qint32 value) {
    qToLittleEndian(value, record.data() + offset);
}

} // namespace kelvano
