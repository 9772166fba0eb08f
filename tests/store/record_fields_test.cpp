#include "core/store/record_fields.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano {
namespace {

using test::Hyo;
using test::So;

TEST(ShortString, CutsOnEncodedBytesAndZeroFillsTheRestOfTheField) {
    QByteArray record(12, '\xAA');
    writeShortString(record, 1, 8, "abcdefghij");
    EXPECT_EQ(record, test::hexBytes("AA 08 6162636465666768 AAAA"));
    writeShortString(record, 1, 8, "abc");
    EXPECT_EQ(record, test::hexBytes("AA 03 616263 0000000000 AAAA"));

    // A double-byte character straddling the cut is split: its first byte stays, as stored files expect.
    writeShortString(record, 1, 8, "abcdefg" + So);
    EXPECT_EQ(record, test::hexBytes("AA 08 61626364656667 83 AAAA"));
    writeShortString(record, 1, 8, Hyo);
    EXPECT_EQ(record, test::hexBytes("AA 02 955C 000000000000 AAAA"));
}

TEST(ShortString, NeverReadsPastTheFieldWhateverTheLengthByteSays) {
    QByteArray record = test::hexBytes("FF 616263 646566 5A5A");
    EXPECT_EQ(readShortString(record, 0, 6), QByteArray("abcdef"));
    record[0] = 2;
    EXPECT_EQ(readShortString(record, 0, 6), QByteArray("ab"));
    record[0] = 0;
    EXPECT_EQ(readShortString(record, 0, 6), QByteArray());
}

TEST(Integers, AreLittleEndianAtTheirOffsets) {
    QByteArray record(11, '\0');
    writeU16(record, 0, 0x1234);
    writeU32(record, 2, 0x00A1B2C3);
    writeI32(record, 6, -2);
    writeU8(record, 10, 0xFE);
    EXPECT_EQ(record, test::hexBytes("3412 C3B2A100 FEFFFFFF FE"));
    EXPECT_EQ(readU16(record, 0), 0x1234);
    EXPECT_EQ(readU32(record, 2), 0x00A1B2C3u);
    EXPECT_EQ(readI32(record, 6), -2);
    EXPECT_EQ(readU8(record, 10), 0xFE);
}

} // namespace
} // namespace kelvano
