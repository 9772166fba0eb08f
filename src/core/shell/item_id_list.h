#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace kelvano {

/// An item identifier list: elements, each a 16-bit little-endian length that counts its own two
/// bytes followed by opaque bytes, ended by a zero length. One element names an item in its parent
/// folder; the elements from the desktop down name an item absolutely; the terminator alone names the
/// desktop. A default-constructed list is "no identifier".
class ItemIdList {
public:
    /// The most opaque bytes one element can carry.
    static constexpr qsizetype MaxPayload = 0xFFFF - 2;

    ItemIdList() = default;

    /// The empty list (the terminator alone): the desktop.
    static ItemIdList desktop();
    /// A one-element list carrying the given bytes (at most MaxPayload of them; more are cut).
    static ItemIdList fromPayload(QByteArrayView payload);
    /// A copy of a list in its stored form, up to and including the terminator; no identifier when
    /// the bytes are not a well-formed list.
    static ItemIdList fromBytes(QByteArrayView bytes);

    bool isNull() const { return m_bytes.isEmpty(); }
    /// True for the terminator alone.
    bool isDesktop() const { return m_bytes.size() == 2; }

    /// The sum of the element lengths plus 2 for the terminator; 0 for no identifier.
    qsizetype size() const { return m_bytes.size(); }
    /// A new one-element list holding a copy of the first element (the empty list for the empty list).
    ItemIdList first() const;
    /// The offset of the element after the one at `offset`, or none when that one is the last.
    std::optional<qsizetype> nextElement(qsizetype offset) const;
    /// A new list holding the elements of `head` followed by those of `tail`; either may be absent.
    static ItemIdList concatenate(const ItemIdList& head, const ItemIdList& tail);

    /// The number of elements.
    int count() const;
    /// The opaque bytes of the element at `index`.
    QByteArray payload(int index) const;
    /// A one-element list of the element at `index`.
    ItemIdList element(int index) const;
    /// The list of the first `count` elements: the whole list for a count past its end, the empty list
    /// for a count of 0 or below.
    ItemIdList prefix(int count) const;
    /// The last element as a one-element list (the empty list for the empty list).
    ItemIdList last() const;
    /// The list of the elements after the first (the empty list for one element or none).
    ItemIdList rest() const;

    /// The stored form, terminator included.
    const QByteArray& bytes() const { return m_bytes; }

    bool operator==(const ItemIdList&) const = default;

private:
    static quint16 lengthAt(const QByteArray& bytes, qsizetype offset);
    /// The offsets of every element, in order.
    QList<qsizetype> offsets() const;

    QByteArray m_bytes;
};

} // namespace kelvano
