#pragma once

#include "core/store/table_definition.h"
#include "support/temp_folder.h"

namespace kelvano::test {

/// A table definition with a value other than the default in every field, each array slot its own
/// value, and each one a value the table settings and cell colour dialogs can show and store again.
/// A field added to the record is added here, so that every test of "every field" covers it.
inline TableDefinition everyFieldSet() {
    TableDefinition d;
    d.TableName = "Price " + So;
    d.FileName = "price";
    d.HeaderName = "3:Top";
    d.FooterName = "0:" + WideB;
    d.BorderWidth = 7;
    d.CaptionText = "cap";
    d.CaptionOnTop = false;
    d.Use3DColours = true;
    d.BorderColour = "FF0000";
    d.LightColour = "00FF00";
    d.DarkColour = "0000FF";
    d.TableWidth = "75%";
    d.CellSpacing = 9;
    d.CellPadding = 11;
    d.ColumnColourMode = false;
    d.RowColourMode = true;
    d.FirstColumnHeadings = true;
    d.FirstRowHeadings = true;
    d.ScrollOnSmallScreens = true;
    for (int i = 0; i < TableDefinition::ArrayLength; ++i) {
        d.ColumnBackColours[i] = 0x010000u + i;
        d.RowBackColours[i] = 0x020000u + i;
        d.ColumnTextColours[i] = 0x030000u + i;
        d.RowTextColours[i] = 0x040000u + i;
        d.ColumnFontSizes[i] = i % 29 - 14;
        d.ColumnAlignments[i] = static_cast<quint8>(i % 9);
    }
    d.SortByHeading = true;
    d.FilterBox = true;
    d.StickyHeading = true;
    d.CsvBeside = true;
    d.ColumnCount = 42;
    d.RowColourCount = 10;
    d.ShowEmptyCells = false;
    return d;
}

} // namespace kelvano::test
