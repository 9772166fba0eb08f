#pragma once

#include <QByteArray>
#include <array>

namespace kelvano {

/// One 1524-byte record of TABLE.DAT: a table's title, files, snippets and formatting. Default
/// construction gives the values of a new definition.
struct TableDefinition {
    static constexpr qsizetype Size = 1524;
    static constexpr qsizetype NameCapacity = 80;
    static constexpr qsizetype ColourTextCapacity = 6;
    static constexpr int ArrayLength = 51;
    static constexpr int MaxColumns = 50;
    static constexpr quint32 White = 0xFFFFFF;

    using Colours = std::array<quint32, ArrayLength>;

    // Byte offsets of the fields; the bytes between them are reserved and stored as zeros.
    static constexpr qsizetype TableNameAt = 0;
    static constexpr qsizetype FileNameAt = 81;
    static constexpr qsizetype HeaderNameAt = 162;
    static constexpr qsizetype FooterNameAt = 243;
    static constexpr qsizetype BorderWidthAt = 325;
    static constexpr qsizetype CaptionTextAt = 326;
    static constexpr qsizetype CaptionOnTopAt = 407;
    static constexpr qsizetype Use3DColoursAt = 408;
    static constexpr qsizetype BorderColourAt = 409;
    static constexpr qsizetype LightColourAt = 416;
    static constexpr qsizetype DarkColourAt = 423;
    static constexpr qsizetype TableWidthAt = 430;
    static constexpr qsizetype CellSpacingAt = 437;
    static constexpr qsizetype CellPaddingAt = 438;
    static constexpr qsizetype ColumnColourModeAt = 439;
    static constexpr qsizetype RowColourModeAt = 440;
    // Three flags in bytes that were reserved (0 = off, as every older record holds there).
    static constexpr qsizetype FirstColumnHeadingsAt = 441;
    static constexpr qsizetype FirstRowHeadingsAt = 442;
    static constexpr qsizetype ScrollOnSmallScreensAt = 443;
    static constexpr qsizetype ColumnBackColoursAt = 444;
    static constexpr qsizetype RowBackColoursAt = 648;
    static constexpr qsizetype ColumnTextColoursAt = 852;
    static constexpr qsizetype RowTextColoursAt = 1056;
    static constexpr qsizetype ColumnFontSizesAt = 1260;
    static constexpr qsizetype ColumnAlignmentsAt = 1464;
    /// The page options, one bit each (the other bits are written as 0; 0 = every option off, as every
    /// older record holds in this byte that was reserved).
    static constexpr qsizetype PageOptionsAt = 1515;
    static constexpr quint8 SortByHeadingBit = 1;
    static constexpr quint8 FilterBoxBit = 2;
    static constexpr quint8 StickyHeadingBit = 4;
    static constexpr quint8 CsvBesideBit = 8;
    static constexpr qsizetype ColumnCountAt = 1516;
    static constexpr qsizetype RowColourCountAt = 1518;
    static constexpr qsizetype ShowEmptyCellsAt = 1520;
    static constexpr qsizetype DeletedAt = 1521;

    QByteArray TableName;
    QByteArray FileName;
    QByteArray HeaderName;
    QByteArray FooterName;
    quint8 BorderWidth = 1;
    QByteArray CaptionText;
    bool CaptionOnTop = true;
    bool Use3DColours = false;
    QByteArray BorderColour;
    QByteArray LightColour;
    QByteArray DarkColour;
    QByteArray TableWidth;
    quint8 CellSpacing = 2;
    quint8 CellPadding = 1;
    bool ColumnColourMode = true;
    bool RowColourMode = false;
    /// The first data column holds row headings ("左端は区分に使用する").
    bool FirstColumnHeadings = false;
    /// The first data row holds column headings ("先頭行を見出しにする").
    bool FirstRowHeadings = false;
    /// The table scrolls sideways on narrow screens ("スマートフォンでは横にスクロール").
    bool ScrollOnSmallScreens = false;
    Colours ColumnBackColours = filled(White);
    Colours RowBackColours = filled(White);
    Colours ColumnTextColours = filled(0);
    Colours RowTextColours = filled(0);
    std::array<qint32, ArrayLength> ColumnFontSizes{};
    std::array<quint8, ArrayLength> ColumnAlignments{};
    /// The headings sort the table in the page ("見出しで並べ替え").
    bool SortByHeading = false;
    /// A filter box above the table ("絞り込み欄を付ける").
    bool FilterBox = false;
    /// The heading row stays in view while the page scrolls ("見出しを固定する").
    bool StickyHeading = false;
    /// The page run writes the table's texts as FileName + ".csv" beside the page ("CSVも出力する").
    bool CsvBeside = false;
    quint16 ColumnCount = 1;
    quint16 RowColourCount = 1;
    bool ShowEmptyCells = true;
    bool Deleted = false;

    /// The column count as an index bound: never above 50, whatever the record holds.
    int usableColumnCount() const;
    /// The row colour count as a divisor and index bound: 1 to 51.
    int usableRowColourCount() const;

    QByteArray encode() const;
    /// Decodes a record; flags read any non-zero byte as on.
    static TableDefinition decode(QByteArrayView record);

    bool operator==(const TableDefinition&) const = default;

private:
    static constexpr Colours filled(quint32 colour) {
        Colours colours{};
        colours.fill(colour);
        return colours;
    }
};

static_assert(TableDefinition::Size == 1524);
static_assert(TableDefinition::ScrollOnSmallScreensAt + 1 == TableDefinition::ColumnBackColoursAt);
static_assert(TableDefinition::ColumnFontSizesAt ==
              TableDefinition::RowTextColoursAt + 4 * TableDefinition::ArrayLength);
static_assert(TableDefinition::PageOptionsAt ==
              TableDefinition::ColumnAlignmentsAt + TableDefinition::ArrayLength);
static_assert(TableDefinition::ColumnCountAt == TableDefinition::PageOptionsAt + 1);
// Two reserved bytes follow the deleted flag.
static_assert(TableDefinition::DeletedAt + 1 + 2 == TableDefinition::Size);

} // namespace kelvano
