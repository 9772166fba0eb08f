#include "core/shell/item_id_list.h"

#include <QList>

namespace kelvano {
namespace {

constexpr QByteArrayView Terminator("\0\0", 2);

void appendLength(QByteArray& bytes, qsizetype length) {
    bytes.append(char(length & 0xFF));
    bytes.append(char((length >> 8) & 0xFF));
}

} // namespace

quint16 ItemIdList::lengthAt(const QByteArray& bytes, qsizetype offset) {
    if (offset + 2 > bytes.size()) {
        return 0;
    }
    return quint16(quint8(bytes[offset]) | (quint8(bytes[offset + 1]) << 8));
}

ItemIdList ItemIdList::desktop() {
    ItemIdList list;
    list.m_bytes = Terminator.toByteArray();
    return list;
}

ItemIdList ItemIdList::fromPayload(QByteArrayView payload) {
    const QByteArrayView kept = payload.first(std::min(payload.size(), MaxPayload));
    ItemIdList list;
    appendLength(list.m_bytes, kept.size() + 2);
    list.m_bytes.append(kept);
    list.m_bytes.append(Terminator);
    return list;
}

ItemIdList ItemIdList::fromBytes(QByteArrayView bytes) {
    const QByteArray copy = bytes.toByteArray();
    qsizetype offset = 0;
    for (;;) {
        if (offset + 2 > copy.size()) {
            return {};
        }
        const quint16 length = lengthAt(copy, offset);
        if (length == 0) {
            ItemIdList list;
            list.m_bytes = copy.first(offset + 2);
            return list;
        }
        // A length below 2 cannot count itself; a length past the end is a torn list.
        if (length < 2 || offset + length > copy.size()) {
            return {};
        }
        offset += length;
    }
}

QList<qsizetype> ItemIdList::offsets() const {
    QList<qsizetype> result;
    for (qsizetype offset = 0; lengthAt(m_bytes, offset) != 0; offset += lengthAt(m_bytes, offset)) {
        result.append(offset);
    }
    return result;
}

ItemIdList ItemIdList::first() const {
    if (isNull()) {
        return {};
    }
    return element(0);
}

std::optional<qsizetype> ItemIdList::nextElement(qsizetype offset) const {
    const quint16 length = lengthAt(m_bytes, offset);
    if (length == 0) {
        return std::nullopt;
    }
    const qsizetype next = offset + length;
    if (lengthAt(m_bytes, next) == 0) {
        return std::nullopt;
    }
    return next;
}

ItemIdList ItemIdList::concatenate(const ItemIdList& head, const ItemIdList& tail) {
    if (head.isNull() && tail.isNull()) {
        return {};
    }
    if (head.isNull()) {
        return tail;
    }
    if (tail.isNull()) {
        return head;
    }
    ItemIdList list;
    list.m_bytes = head.m_bytes.first(head.m_bytes.size() - 2) + tail.m_bytes;
    return list;
}

int ItemIdList::count() const {
    return int(offsets().size());
}

QByteArray ItemIdList::payload(int index) const {
    const QList<qsizetype> all = offsets();
    if (index < 0 || index >= all.size()) {
        return {};
    }
    const qsizetype offset = all[index];
    return m_bytes.mid(offset + 2, lengthAt(m_bytes, offset) - 2);
}

ItemIdList ItemIdList::element(int index) const {
    if (isNull()) {
        return {};
    }
    if (index < 0 || index >= count()) {
        return desktop();
    }
    return fromPayload(payload(index));
}

ItemIdList ItemIdList::prefix(int elementCount) const {
    if (isNull()) {
        return {};
    }
    const QList<qsizetype> all = offsets();
    if (elementCount >= all.size()) {
        return *this;
    }
    if (elementCount <= 0) {
        return desktop();
    }
    ItemIdList list;
    list.m_bytes = m_bytes.first(all[elementCount]) + Terminator.toByteArray();
    return list;
}

ItemIdList ItemIdList::last() const {
    return element(count() - 1);
}

ItemIdList ItemIdList::rest() const {
    if (isNull()) {
        return {};
    }
    const quint16 firstLength = lengthAt(m_bytes, 0);
    ItemIdList list;
    list.m_bytes = m_bytes.mid(firstLength);
    return list;
}

} // namespace kelvano
