#include "core/table/sheet_file.h"
#include "core/table/sheet_number_format.h"

#include <QFile>
#include <gtest/gtest.h>

namespace kelvano {
namespace {

QString sheetPath(const char* name) {
    return QStringLiteral(KELVANO_SHEETS_DIR "/") + QString::fromUtf8(name);
}

QByteArrayList row(std::initializer_list<const char*> texts) {
    QByteArrayList fields;
    for (const char* text : texts) {
        fields.append(QByteArray(text));
    }
    return fields;
}

// The sheet openpyxl writes for values.xlsx, as a spreadsheet shows it.
const QList<QByteArrayList> XlsxShown{
    row({"品名", "単価", "率", "円", "日付", "時刻", "日時", "式", "真偽"}),
    row({"りんご", "1,234,567.89", "12.5%", "¥1,500", "2024/05/01", "9:05", "2024/12/31 23:45", "", "TRUE"}),
    row({"0.3", "-1,235", "7%", "-¥1,500", "2.50", "100000000000000000000", "1,235", "0.5", "FALSE"}),
    row({"結合"}),
    row({""}),
    row({"隠れた行"}),
    row({""}),
    row({"", "", "", "", "", "", "", "", "", "  空白と\n改行  "}),
};

TEST(SheetFile, XlsxCellsComeAsTheSpreadsheetShowsThemInEitherDateSystem) {
    for (const char* name : {"values.xlsx", "values-1904.xlsx", "merged-texts.xlsx"}) {
        const SheetFile file = SheetFile::read(sheetPath(name), SheetChoice{});
        ASSERT_EQ(file.failure, SheetFailure::None) << name;
        EXPECT_EQ(file.sheetNames,
                  (QStringList{QStringLiteral("価格表"), QStringLiteral("3"), QStringLiteral("空")}));
        EXPECT_EQ(file.sheet, 0);
        EXPECT_EQ(file.records, XlsxShown) << name;
        EXPECT_TRUE(file.hiddenCells) << "row 6 and column J are hidden";
    }
}

TEST(SheetFile, OdsCellsComeAsShownWithRepeatsExpandedAndCoveredCellsEmpty) {
    const SheetFile file = SheetFile::read(sheetPath("values.ods"), SheetChoice{});
    ASSERT_EQ(file.failure, SheetFailure::None);
    EXPECT_EQ(file.sheetNames, (QStringList{QStringLiteral("シート1"), QStringLiteral("2")}));
    const QList<QByteArrayList> shown{
        row({"品名", "1,234,567.89", "12.5%", "¥1,500", "2024/05/01", "9:05", "2469135.782", "TRUE",
             "2024/12/31 23:45"}),
        row({"0.3", "a   b\nc\nd", "注記つき"}),
        row({"結合"}),
        row({""}),
        row({"隠れた行"}),
        row({"繰り返し", "繰り返し"}),
        row({"繰り返し", "繰り返し"}),
        row({"繰り返し", "繰り返し"}),
    };
    EXPECT_EQ(file.records, shown) << "the million empty rows at the end are no rows";
    EXPECT_TRUE(file.hiddenCells);
}

TEST(SheetFile, ASheetIsChosenByNameFirstThenByNumber) {
    const QString path = sheetPath("values.xlsx");
    const auto read = [&](const char* text) {
        return SheetFile::read(path, SheetChoice{0, QString::fromUtf8(text)});
    };
    SheetFile named = read("3");
    EXPECT_EQ(named.sheet, 1) << "the sheet named 3, not the third";
    EXPECT_EQ(named.records, QList<QByteArrayList>{row({"二枚目"})});
    EXPECT_EQ(read("1").records, XlsxShown);
    const SheetFile empty = read("空");
    EXPECT_EQ(empty.failure, SheetFailure::None);
    EXPECT_EQ(empty.sheet, 2);
    EXPECT_TRUE(empty.records.isEmpty());
    for (const char* missing : {"4", "0", "+1", "シート"}) {
        const SheetFile file = read(missing);
        EXPECT_EQ(file.failure, SheetFailure::NoSuchSheet) << missing;
        EXPECT_EQ(file.missingSheet, QString::fromUtf8(missing));
        EXPECT_TRUE(file.records.isEmpty());
    }
    EXPECT_EQ(SheetFile::read(path, SheetChoice{2, std::nullopt}).sheet, 2);
    EXPECT_EQ(SheetFile::read(path, SheetChoice{3, std::nullopt}).failure, SheetFailure::NoSuchSheet);
    const SheetFile names = SheetFile::read(path, SheetChoice::namesOnly());
    EXPECT_EQ(names.sheetNames.size(), 3);
    EXPECT_TRUE(names.records.isEmpty());
}

TEST(SheetFile, FilesThatAreNoSheetsAreToldByWhatIsWrong) {
    const std::pair<const char*, SheetFailure> cases[] = {
        {"truncated.xlsx", SheetFailure::Damaged},       {"bad-xml.xlsx", SheetFailure::Damaged},
        {"short-declared.xlsx", SheetFailure::Damaged}, // expands past what it declares
        {"long-declared.xlsx", SheetFailure::Damaged},  // ends before it
        {"document.zip", SheetFailure::NotASpreadsheet}, {"text.odt", SheetFailure::NotASpreadsheet},
        {"old.xls", SheetFailure::NotASpreadsheet},      {"locked.xlsx", SheetFailure::Encrypted},
        {"locked.ods", SheetFailure::Encrypted},         {"bomb.xlsx", SheetFailure::TooLarge},
        {"cells.ods", SheetFailure::TooLarge},
    };
    for (const auto& [name, failure] : cases) {
        const SheetFile file = SheetFile::read(sheetPath(name), SheetChoice{});
        EXPECT_EQ(file.failure, failure) << name;
        EXPECT_TRUE(file.records.isEmpty()) << name;
    }
    const QString text = QStringLiteral(KELVANO_SHEETS_DIR "/plain.xlsx");
    QFile plain(text);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("name,price\n");
    plain.close();
    EXPECT_EQ(SheetFile::read(text, SheetChoice{}).failure, SheetFailure::NotASpreadsheet);
}

TEST(SheetFile, RowsPastTheLimitAreNotRead) {
    const SheetFile file = SheetFile::read(sheetPath("rows.ods"), SheetChoice{});
    ASSERT_EQ(file.failure, SheetFailure::None);
    ASSERT_EQ(file.records.size(), SheetFile::RecordsRead) << "one past a table's rows, enough to refuse";
    EXPECT_EQ(file.records.last(), row({"x"}));
    const SheetFile far = SheetFile::read(sheetPath("far-rows.xlsx"), SheetChoice{});
    ASSERT_EQ(far.records.size(), SheetFile::RecordsRead);
    EXPECT_EQ(far.records.last(), row({"65535"}));
}

// The small files committed with the fuzz corpus (their origin is in its ORIGIN.txt).
TEST(SheetFile, CommittedFilesKeepTheirFormatsAndMergedCells) {
    const QString folder = QStringLiteral(KELVANO_COMMITTED_SHEETS "/");
    const SheetFile xlsx = SheetFile::read(folder + QStringLiteral("formats.xlsx"), SheetChoice{});
    EXPECT_EQ(xlsx.records,
              (QList<QByteArrayList>{row({"1,234.50", "25%", "2024/02/29", "¥2,000"}), row({"merged"})}));
    const SheetFile ods = SheetFile::read(folder + QStringLiteral("formats.ods"), SheetChoice{});
    EXPECT_EQ(ods.records, (QList<QByteArrayList>{row({"2024/02/29", "1,234.6", "merged"}),
                                                  row({"rep", "rep"}), row({"rep", "rep"})}));
    EXPECT_EQ(SheetFile::read(folder + QStringLiteral("truncated-xlsx"), SheetChoice{}).failure,
              SheetFailure::Damaged);
}

TEST(NumberText, FollowsTheFormatCodeOnTheDecimalsShown) {
    const auto shown = [](double value, const char* code) {
        return numberText(value, QString::fromUtf8(code), DateSystem::From1900);
    };
    EXPECT_EQ(shown(2.345, "0.00"), "2.35") << "rounded on the decimal digits, half away from zero";
    EXPECT_EQ(shown(-0.5, "0"), "-1");
    EXPECT_EQ(shown(0.4, "0"), "0");
    EXPECT_EQ(shown(999.995, "#,##0.00"), "1,000.00");
    EXPECT_EQ(shown(999, "#,##0"), "999");
    EXPECT_EQ(shown(1000, "#,##0"), "1,000");
    EXPECT_EQ(shown(0, "#,##0"), "0");
    EXPECT_EQ(shown(1.0 / 3, "0.00%"), "33.33%");
    EXPECT_EQ(shown(0.5, "0.0#"), "0.5");
    EXPECT_EQ(shown(0.125, "0.0#"), "0.13");
    EXPECT_EQ(shown(12345678, "#,##0,,\"百万\""), "12百万");
    EXPECT_EQ(shown(0, "0;-0;\"ゼロ\""), "ゼロ");
    EXPECT_EQ(shown(-3, "0;(0)"), "(3)");
    EXPECT_EQ(shown(1500, "[$¥-411]#,##0;[Red]\\-[$¥-411]#,##0"), "¥1,500");
    EXPECT_EQ(shown(1.5e-7, "0.00E+00"), "0.00000015") << "exponents: the shortest decimal";
    EXPECT_EQ(shown(0.1 + 0.2, "General"), "0.30000000000000004");
    EXPECT_EQ(shortestDecimal(-0.0), "0");
    EXPECT_EQ(shortestDecimal(1e-7), "0.0000001");
    EXPECT_EQ(shortestDecimal(123456789012), "123456789012");
}

TEST(NumberText, DatesAndTimesShowTheirDayAndMinute) {
    const auto shown = [](double value, const char* code, DateSystem dates = DateSystem::From1900) {
        return numberText(value, QString::fromUtf8(code), dates);
    };
    EXPECT_EQ(shown(1, "yyyy/m/d"), "1900/01/01");
    EXPECT_EQ(shown(59, "m/d/yyyy"), "1900/02/28");
    EXPECT_EQ(shown(60, "m/d/yyyy"), "1900/02/29") << "the day this date system counts";
    EXPECT_EQ(shown(61, "m/d/yyyy"), "1900/03/01");
    EXPECT_EQ(shown(45413, "d-mmm-yy"), "2024/05/01");
    EXPECT_EQ(shown(0, "yyyy/mm/dd", DateSystem::From1904), "1904/01/01");
    EXPECT_EQ(shown(0.75, "h:mm"), "18:00");
    EXPECT_EQ(shown(0.5 / 1440 + 10.0 / 24, "mm:ss"), "10:00") << "minutes and seconds: a time";
    EXPECT_EQ(shown(1 - 0.4 / 86400, "h:mm:ss"), "0:00") << "the day's last half second rounds over";
    EXPECT_EQ(shown(1.5, "[h]:mm"), "36:00");
    EXPECT_EQ(shown(45413.5, "yyyy/mm/dd hh:mm"), "2024/05/01 12:00");
    EXPECT_EQ(shown(-1, "yyyy/mm/dd"), "-1") << "before the first day: the number";
    EXPECT_EQ(shown(3e6, "yyyy/mm/dd"), "3000000") << "past 9999/12/31: the number";
}

} // namespace
} // namespace kelvano
