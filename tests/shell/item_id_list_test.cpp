#include "core/shell/item_id_list.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::hexBytes;

const ItemIdList Ab = ItemIdList::fromPayload("ab");
const ItemIdList Xyz = ItemIdList::fromPayload("xyz");

TEST(ItemIdList, SizeCountsEveryElementLengthAndTheTerminator) {
    EXPECT_EQ(ItemIdList().size(), 0);
    EXPECT_TRUE(ItemIdList().isNull());
    EXPECT_EQ(ItemIdList::desktop().bytes(), hexBytes("0000"));
    EXPECT_EQ(ItemIdList::desktop().size(), 2);
    EXPECT_EQ(Ab.bytes(), hexBytes("0400 6162 0000"));
    const ItemIdList both = ItemIdList::concatenate(Ab, Xyz);
    EXPECT_EQ(both.bytes(), hexBytes("0400 6162 0500 78797a 0000"));
    EXPECT_EQ(both.size(), 4 + 5 + 2);
    EXPECT_EQ(both.count(), 2);
}

TEST(ItemIdList, FirstAndNextElement) {
    const ItemIdList both = ItemIdList::concatenate(Ab, Xyz);
    EXPECT_EQ(both.first(), Ab);
    EXPECT_EQ(ItemIdList::desktop().first(), ItemIdList::desktop());
    EXPECT_TRUE(ItemIdList().first().isNull());

    EXPECT_EQ(both.nextElement(0), 4);
    EXPECT_EQ(both.nextElement(4), std::nullopt);
    EXPECT_EQ(Ab.nextElement(0), std::nullopt);
    EXPECT_EQ(ItemIdList::desktop().nextElement(0), std::nullopt);
}

TEST(ItemIdList, ConcatenateTakesEitherSideAbsent) {
    EXPECT_EQ(ItemIdList::concatenate(Ab, ItemIdList()), Ab);
    EXPECT_EQ(ItemIdList::concatenate(ItemIdList(), Xyz), Xyz);
    EXPECT_TRUE(ItemIdList::concatenate(ItemIdList(), ItemIdList()).isNull());
    EXPECT_EQ(ItemIdList::concatenate(ItemIdList::desktop(), Ab), Ab);
    EXPECT_EQ(ItemIdList::concatenate(Ab, ItemIdList::desktop()), Ab);
}

TEST(ItemIdList, PartsOfAList) {
    const ItemIdList three = ItemIdList::concatenate(ItemIdList::concatenate(Ab, Xyz), Ab);
    EXPECT_EQ(three.payload(1), QByteArray("xyz"));
    EXPECT_EQ(three.element(1), Xyz);
    EXPECT_EQ(three.prefix(2), ItemIdList::concatenate(Ab, Xyz));
    EXPECT_EQ(three.prefix(0), ItemIdList::desktop());
    EXPECT_EQ(three.prefix(9), three);
    // Total for every count: a negative count on the empty list read before its elements.
    EXPECT_EQ(three.prefix(-1), ItemIdList::desktop());
    EXPECT_EQ(ItemIdList::desktop().prefix(-1), ItemIdList::desktop());
    EXPECT_EQ(ItemIdList::desktop().prefix(0), ItemIdList::desktop());
    EXPECT_EQ(ItemIdList::desktop().prefix(3), ItemIdList::desktop());
    EXPECT_EQ(ItemIdList().prefix(-1), ItemIdList());
    EXPECT_EQ(three.rest(), ItemIdList::concatenate(Xyz, Ab));
    EXPECT_EQ(Ab.rest(), ItemIdList::desktop());
    EXPECT_EQ(three.last(), Ab);
    EXPECT_EQ(ItemIdList::desktop().last(), ItemIdList::desktop());
}

TEST(ItemIdList, StoredFormIsCheckedWhenReadBack) {
    EXPECT_EQ(ItemIdList::fromBytes(hexBytes("0400 6162 0000 ffff")), Ab) << "bytes after the terminator";
    EXPECT_EQ(ItemIdList::fromBytes(hexBytes("0000")), ItemIdList::desktop());
    EXPECT_TRUE(ItemIdList::fromBytes(hexBytes("")).isNull());
    EXPECT_TRUE(ItemIdList::fromBytes(hexBytes("0400 6162")).isNull()) << "no terminator";
    EXPECT_TRUE(ItemIdList::fromBytes(hexBytes("0900 6162 0000")).isNull()) << "element past the end";
    EXPECT_TRUE(ItemIdList::fromBytes(hexBytes("0100 0000")).isNull()) << "length below its own two bytes";
    EXPECT_TRUE(ItemIdList::fromBytes(hexBytes("00")).isNull());
}

TEST(ItemIdList, AnOversizedPayloadIsCutToWhatOneElementHolds) {
    const ItemIdList big = ItemIdList::fromPayload(QByteArray(70000, 'x'));
    EXPECT_EQ(big.size(), 0xFFFF + 2);
    EXPECT_EQ(ItemIdList::fromBytes(big.bytes()), big);
}

} // namespace
} // namespace kelvano
