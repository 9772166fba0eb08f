// The HTML table of a page from any definition and rows.
// Input: a definition record (zero-padded when short), the server image path as a run, then cells:
// per column a flag byte (1 text, 2 picture, 4 link, 8 background, 16 picture on the right) and a run
// per flagged layer; a row ends after 50 columns, the input after any column.

#include "core/html/table_markup.h"
#include "core/store/record_fields.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

namespace {

QByteArray cellText(fuzz::InputReader& reader) {
    return cutToCapacity(reader.shortRun(), TableRowRecord::CellCapacity);
}

TableRowRecord nextRow(fuzz::InputReader& reader) {
    TableRowRecord record;
    for (int column = 1; column <= TableRowRecord::MaxColumns && !reader.atEnd(); ++column) {
        const quint8 flags = reader.byte();
        if (flags & 1) {
            record.CellTexts[column] = cellText(reader);
        }
        if (flags & 2) {
            record.CellPictures[column] = cellText(reader);
        }
        if (flags & 4) {
            record.CellLinks[column] = cellText(reader);
        }
        if (flags & 8) {
            record.CellBackgrounds[column] = cellText(reader);
        }
        record.PictureOnRight[column] = (flags & 16) ? 1 : 0;
    }
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    QByteArray record = reader.bytes(TableDefinition::Size).toByteArray();
    record.resize(TableDefinition::Size, '\0');
    const TableDefinition definition = TableDefinition::decode(record);
    const QByteArray serverImagePath = reader.shortRun().toByteArray();

    TableMarkup markup(definition, serverImagePath);
    const QByteArray start = markup.startLine();
    require(start.startsWith("<TABLE") && start.endsWith('>'), "the table starts with <TABLE ...>");
    const QByteArray caption = markup.captionLine();
    require(caption.isEmpty() == definition.CaptionText.isEmpty(), "a caption line exactly for a caption");
    require(caption.isEmpty() || (caption.startsWith("<CAPTION") && caption.endsWith("</CAPTION>") &&
                                  caption.contains(definition.CaptionText)),
            "the caption holds its text");

    int rowNumber = 0;
    do {
        const TableRowRecord row = nextRow(reader);
        const QByteArray stored = row.encode();
        QByteArray out = "previous";
        markup.appendRow(out, TableRowView(stored));
        // With the first row as headings, it is the table's head and the next row opens the body.
        const bool headingRow = definition.FirstRowHeadings && rowNumber == 0;
        const bool opensBody = definition.FirstRowHeadings && rowNumber == 1;
        const QByteArray opening = headingRow && definition.StickyHeading
                                       ? "previous<THEAD STYLE=\"position:sticky;top:0\"><TR>"
                                   : headingRow ? "previous<THEAD><TR>"
                                   : opensBody  ? "previous<TBODY><TR>"
                                                : "previous<TR>";
        require(out.startsWith(opening) && out.endsWith(headingRow ? "</TR></THEAD>" : "</TR>"),
                "a row is appended whole, in its section");
        ++rowNumber;
        // Cells are data cells (TD) or, in a heading row or column, heading cells (TH).
        require(out.count("</TD>") + out.count("</TH>") >= definition.usableColumnCount(),
                "every column gets a cell");
        for (int column = 1; column <= definition.usableColumnCount(); ++column) {
            require(out.contains(row.CellTexts[column]) && out.contains(row.CellLinks[column]),
                    "a cell's text and link are written unchanged");
            for (const QByteArray& path : {row.CellPictures[column], row.CellBackgrounds[column]}) {
                const QByteArray name = fileNamePart(path);
                require(path.endsWith(name) && !name.contains('/') && !name.contains(':'),
                        "a picture's file name is the end of its path");
                require(path.isEmpty() || out.contains(serverImagePath + name),
                        "a picture is written as the server path and its file name");
            }
        }
    } while (!reader.atEnd());
    return 0;
}
