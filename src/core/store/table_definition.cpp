#include "core/store/table_definition.h"

#include "core/store/record_fields.h"

#include <algorithm>

namespace kelvano {
namespace {

bool readFlag(QByteArrayView record, qsizetype offset) {
    return readU8(record, offset) != 0;
}

void writeColours(QByteArray& record, qsizetype offset, const TableDefinition::Colours& colours) {
    for (int i = 0; i < TableDefinition::ArrayLength; ++i) {
        writeU32(record, offset + 4 * i, colours[i]);
    }
}

TableDefinition::Colours readColours(QByteArrayView record, qsizetype offset) {
    TableDefinition::Colours colours{};
    for (int i = 0; i < TableDefinition::ArrayLength; ++i) {
        colours[i] = readU32(record, offset + 4 * i);
    }
    return colours;
}

} // namespace

int TableDefinition::usableColumnCount() const {
    return std::min<int>(ColumnCount, MaxColumns);
}

int TableDefinition::usableRowColourCount() const {
    return std::clamp<int>(RowColourCount, 1, ArrayLength);
}

QByteArray TableDefinition::encode() const {
    QByteArray record(Size, '\0');
    writeShortString(record, TableNameAt, NameCapacity, TableName);
    writeShortString(record, FileNameAt, NameCapacity, FileName);
    writeShortString(record, HeaderNameAt, NameCapacity, HeaderName);
    writeShortString(record, FooterNameAt, NameCapacity, FooterName);
    writeU8(record, BorderWidthAt, BorderWidth);
    writeShortString(record, CaptionTextAt, NameCapacity, CaptionText);
    writeU8(record, CaptionOnTopAt, CaptionOnTop);
    writeU8(record, Use3DColoursAt, Use3DColours);
    writeShortString(record, BorderColourAt, ColourTextCapacity, BorderColour);
    writeShortString(record, LightColourAt, ColourTextCapacity, LightColour);
    writeShortString(record, DarkColourAt, ColourTextCapacity, DarkColour);
    writeShortString(record, TableWidthAt, ColourTextCapacity, TableWidth);
    writeU8(record, CellSpacingAt, CellSpacing);
    writeU8(record, CellPaddingAt, CellPadding);
    writeU8(record, ColumnColourModeAt, ColumnColourMode);
    writeU8(record, RowColourModeAt, RowColourMode);
    writeU8(record, FirstColumnHeadingsAt, FirstColumnHeadings);
    writeU8(record, FirstRowHeadingsAt, FirstRowHeadings);
    writeU8(record, ScrollOnSmallScreensAt, ScrollOnSmallScreens);
    writeColours(record, ColumnBackColoursAt, ColumnBackColours);
    writeColours(record, RowBackColoursAt, RowBackColours);
    writeColours(record, ColumnTextColoursAt, ColumnTextColours);
    writeColours(record, RowTextColoursAt, RowTextColours);
    for (int i = 0; i < ArrayLength; ++i) {
        writeI32(record, ColumnFontSizesAt + 4 * i, ColumnFontSizes[i]);
        writeU8(record, ColumnAlignmentsAt + i, ColumnAlignments[i]);
    }
    writeU8(record, PageOptionsAt,
            static_cast<quint8>((SortByHeading ? SortByHeadingBit : 0) | (FilterBox ? FilterBoxBit : 0) |
                                (StickyHeading ? StickyHeadingBit : 0) | (CsvBeside ? CsvBesideBit : 0)));
    writeU16(record, ColumnCountAt, ColumnCount);
    writeU16(record, RowColourCountAt, RowColourCount);
    writeU8(record, ShowEmptyCellsAt, ShowEmptyCells);
    writeU8(record, DeletedAt, Deleted);
    return record;
}

TableDefinition TableDefinition::decode(QByteArrayView record) {
    Q_ASSERT(record.size() >= Size);
    TableDefinition definition;
    definition.TableName = readShortString(record, TableNameAt, NameCapacity);
    definition.FileName = readShortString(record, FileNameAt, NameCapacity);
    definition.HeaderName = readShortString(record, HeaderNameAt, NameCapacity);
    definition.FooterName = readShortString(record, FooterNameAt, NameCapacity);
    definition.BorderWidth = readU8(record, BorderWidthAt);
    definition.CaptionText = readShortString(record, CaptionTextAt, NameCapacity);
    definition.CaptionOnTop = readFlag(record, CaptionOnTopAt);
    definition.Use3DColours = readFlag(record, Use3DColoursAt);
    definition.BorderColour = readShortString(record, BorderColourAt, ColourTextCapacity);
    definition.LightColour = readShortString(record, LightColourAt, ColourTextCapacity);
    definition.DarkColour = readShortString(record, DarkColourAt, ColourTextCapacity);
    definition.TableWidth = readShortString(record, TableWidthAt, ColourTextCapacity);
    definition.CellSpacing = readU8(record, CellSpacingAt);
    definition.CellPadding = readU8(record, CellPaddingAt);
    definition.ColumnColourMode = readFlag(record, ColumnColourModeAt);
    definition.RowColourMode = readFlag(record, RowColourModeAt);
    definition.FirstColumnHeadings = readFlag(record, FirstColumnHeadingsAt);
    definition.FirstRowHeadings = readFlag(record, FirstRowHeadingsAt);
    definition.ScrollOnSmallScreens = readFlag(record, ScrollOnSmallScreensAt);
    definition.ColumnBackColours = readColours(record, ColumnBackColoursAt);
    definition.RowBackColours = readColours(record, RowBackColoursAt);
    definition.ColumnTextColours = readColours(record, ColumnTextColoursAt);
    definition.RowTextColours = readColours(record, RowTextColoursAt);
    for (int i = 0; i < ArrayLength; ++i) {
        definition.ColumnFontSizes[i] = readI32(record, ColumnFontSizesAt + 4 * i);
        definition.ColumnAlignments[i] = readU8(record, ColumnAlignmentsAt + i);
    }
    const quint8 options = readU8(record, PageOptionsAt);
    definition.SortByHeading = (options & SortByHeadingBit) != 0;
    definition.FilterBox = (options & FilterBoxBit) != 0;
    definition.StickyHeading = (options & StickyHeadingBit) != 0;
    definition.CsvBeside = (options & CsvBesideBit) != 0;
    definition.ColumnCount = readU16(record, ColumnCountAt);
    definition.RowColourCount = readU16(record, RowColourCountAt);
    definition.ShowEmptyCells = readFlag(record, ShowEmptyCellsAt);
    definition.Deleted = readFlag(record, DeletedAt);
    return definition;
}

} // namespace kelvano
