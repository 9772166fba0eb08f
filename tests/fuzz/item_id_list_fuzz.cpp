// Item identifier lists in their stored form, and the four list operations on them.
// Input: two signed counts, then the bytes of a list.

#include "core/shell/item_id_list.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

void checkWellFormed(const ItemIdList& list) {
    const QByteArray& bytes = list.bytes();
    require(bytes.size() >= 2 && bytes.endsWith(QByteArrayView("\0\0", 2)), "a list ends with a zero length");
    require(ItemIdList::fromBytes(bytes) == list, "a list reads back from its stored form");
    qsizetype payloadSize = 0;
    for (int index = 0; index < list.count(); ++index) {
        const QByteArray payload = list.payload(index);
        payloadSize += payload.size() + 2;
        require(list.element(index) == ItemIdList::fromPayload(payload), "an element carries its payload");
    }
    require(list.size() == payloadSize + 2, "the size is the element lengths and the terminator");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    const int firstCount = static_cast<qint8>(reader.byte());
    const int secondCount = static_cast<qint8>(reader.byte());
    const QByteArrayView stored = reader.rest();

    const ItemIdList list = ItemIdList::fromBytes(stored);
    if (list.isNull()) {
        require(list.count() == 0 && list.prefix(firstCount).isNull() && list.first().isNull() &&
                    list.rest().isNull(),
                "no identifier stays no identifier");
        return 0;
    }
    require(stored.startsWith(list.bytes()), "a list is read up to its terminator");
    checkWellFormed(list);
    const int count = list.count();

    // The first element and the rest make up the list again.
    const ItemIdList first = list.first();
    const ItemIdList rest = list.rest();
    checkWellFormed(first);
    checkWellFormed(rest);
    require(first.count() == std::min(count, 1) && rest.count() == std::max(count - 1, 0),
            "first and rest split the elements");
    require(ItemIdList::concatenate(first, rest) == list || count == 0, "first and rest join to the list");
    require(list.last() == (count == 0 ? ItemIdList::desktop() : list.element(count - 1)),
            "last is the last element");

    // Prefixes of any count, negative ones too, are lists of that many elements.
    for (const int wanted : {firstCount, secondCount, 0, count, count + 1}) {
        const ItemIdList head = list.prefix(wanted);
        checkWellFormed(head);
        require(head.count() == std::clamp(wanted, 0, count), "a prefix holds the elements asked for");
        require(list.bytes().startsWith(QByteArrayView(head.bytes()).chopped(2)),
                "a prefix is the list's start");
    }
    const ItemIdList twice = ItemIdList::concatenate(list, list);
    checkWellFormed(twice);
    require(twice.count() == 2 * count, "a concatenation holds both lists' elements");
    require(twice.prefix(count) == list, "the first half of a concatenation is the head");
    for (int offset = 0;;) {
        const std::optional<qsizetype> next = list.nextElement(offset);
        if (!next) {
            break;
        }
        require(*next > offset && *next < list.size(), "elements follow one another inside the list");
        offset = static_cast<int>(*next);
    }
    return 0;
}
