#include "core/text/csv_fields.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvano::StringUtil {
namespace {

CsvFields split(QByteArrayView line) {
    CsvFields fields;
    discsv(line, fields);
    return fields;
}

TEST(Discsv, FieldsGoToSlotsFromOneAndQuotedCommasAreText) {
    const CsvFields fields = split("a,\"b,c\",d");
    EXPECT_EQ(fields.csvcount, 3);
    EXPECT_EQ(fields.csvfield[0], "");
    EXPECT_EQ(fields.csvfield[1], "a");
    EXPECT_EQ(fields.csvfield[2], "b,c");
    EXPECT_EQ(fields.csvfield[3], "d");
    EXPECT_EQ(fields.csvfield[4], "");

    const CsvFields japanese = split(test::So + "," + test::Hyo + "\"x\"");
    EXPECT_EQ(japanese.csvcount, 2);
    EXPECT_EQ(japanese.csvfield[1], test::So);
    EXPECT_EQ(japanese.csvfield[2], test::Hyo + "x");
}

TEST(Discsv, ALineWithoutSeparatorAlsoFillsSlotZero) {
    const CsvFields plain = split("abc");
    EXPECT_EQ(plain.csvcount, 1);
    EXPECT_EQ(plain.csvfield[0], "abc");
    EXPECT_EQ(plain.csvfield[1], "abc");

    const CsvFields quoted = split("\"a,b\"");
    EXPECT_EQ(quoted.csvcount, 1);
    EXPECT_EQ(quoted.csvfield[0], "\"a,b\"");
    EXPECT_EQ(quoted.csvfield[1], "a,b");
}

TEST(Discsv, QuotesAreNeverStored) {
    // A quote right after a closing quote opens no new run: the comma after it separates.
    const CsvFields doubled = split("\"x\"\"y,z\"");
    EXPECT_EQ(doubled.csvcount, 2);
    EXPECT_EQ(doubled.csvfield[1], "xy");
    EXPECT_EQ(doubled.csvfield[2], "z");

    EXPECT_EQ(split("\"\",a").csvfield[1], "");
    EXPECT_EQ(split("\"\",a").csvfield[2], "a");
    EXPECT_EQ(split("ab\"").csvfield[1], "ab"); // a lone quote at the end
    EXPECT_EQ(split("\"").csvfield[1], "");
    EXPECT_EQ(split("\"open,to the end").csvfield[1], "open,to the end");
    EXPECT_EQ(split("\"open,to the end").csvcount, 1);
}

TEST(Discsv, EmptyFieldsCountAndAnEmptyLineKeepsTheCount) {
    CsvFields fields = split("a,b,");
    EXPECT_EQ(fields.csvcount, 3);
    EXPECT_EQ(fields.csvfield[3], "");
    EXPECT_EQ(split(",").csvcount, 2);

    discsv("", fields);
    EXPECT_EQ(fields.csvcount, 3);
    for (const QByteArray& slot : fields.csvfield) {
        EXPECT_EQ(slot, "");
    }
}

TEST(Discsv, FieldsPastTwentyAreCountedButNotKept) {
    QByteArrayList values;
    for (int i = 1; i <= 25; ++i) {
        values.append("f" + QByteArray::number(i));
    }
    const CsvFields fields = split(values.join(','));
    EXPECT_EQ(fields.csvcount, 25);
    EXPECT_EQ(fields.csvfield[20], "f20");
    EXPECT_EQ(fields.csvfield[0], "");

    EXPECT_EQ(split(QByteArray(300, ',')).csvcount, 255);
}

} // namespace
} // namespace kelvano::StringUtil
