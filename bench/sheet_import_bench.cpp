// Spreadsheet imports (kelvano-publish --import-sheet's path: read the sheet, fit its texts, write the
// table's file) and archives that expand to a gigabyte:
//
// - a 10,000 x 50 sheet as .xlsx and as .ods (half numbers with a thousands format, half Japanese
//   texts), read and written into a 50-column table;
// - a 1 GB-expanding .xlsx that declares its size, and one whose sheet declares 1 MB but holds 1 GB,
//   each refused; one case per process, so that the peak resident memory belongs to it:
//
//   kelvano_sheet_bench --benchmark_filter='SheetImport|SheetRead'   (the import writes a 513 MB
//                                                                     table file: 51,306 bytes a row)
//   kelvano_sheet_bench --benchmark_filter='ExpandingArchive/0/'
//   kelvano_sheet_bench --benchmark_filter='ExpandingArchive/1/'

#include "core/store/table_data_files.h"
#include "core/store/table_row_record.h"
#include "core/table/cell_text_import.h"
#include "core/table/sheet_file.h"
#include "core/table/table_layers_file.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <sys/resource.h>

namespace kelvano {
namespace {

constexpr int Rows = 10000;
constexpr int Columns = 50;

void addPart(QuaZip& zip, const QString& name, const std::function<void(QuaZipFile&)>& write) {
    QuaZipFile part(&zip);
    if (!part.open(QIODevice::WriteOnly, QuaZipNewInfo(name))) {
        std::abort();
    }
    write(part);
    part.close();
}

void addPart(QuaZip& zip, const QString& name, const QByteArray& bytes) {
    addPart(zip, name, [&](QuaZipFile& part) { part.write(bytes); });
}

QString column(int index) {
    QString name;
    for (++index; index > 0; index = (index - 1) / 26) {
        name.prepend(QChar(u'A' + (index - 1) % 26));
    }
    return name;
}

/// An .xlsx of the shape of a workbook a spreadsheet program writes; `sheet` writes its sheet's XML.
void writeXlsx(const QString& path, const std::function<void(QuaZipFile&)>& sheet, bool strings) {
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    addPart(zip, QStringLiteral("[Content_Types].xml"),
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    addPart(
        zip, QStringLiteral("_rels/.rels"),
        "<Relationships><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
        "2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    addPart(
        zip, QStringLiteral("xl/workbook.xml"),
        "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"data\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    addPart(
        zip, QStringLiteral("xl/_rels/workbook.xml.rels"),
        "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"x/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
    addPart(zip, QStringLiteral("xl/styles.xml"),
            "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"4\"/></cellXfs></styleSheet>");
    if (strings) {
        QByteArray shared = "<sst>";
        for (int i = 0; i < 1000; ++i) {
            shared += "<si><t>\xE5\x95\x86\xE5\x93\x81" + QByteArray::number(i) + "</t></si>";
        }
        addPart(zip, QStringLiteral("xl/sharedStrings.xml"), shared + "</sst>");
    }
    addPart(zip, QStringLiteral("xl/worksheets/sheet1.xml"), sheet);
    zip.close();
}

const QString& bigSheet(bool ods) {
    static QTemporaryDir folder;
    static QString paths[2];
    QString& path = paths[ods ? 1 : 0];
    if (!path.isEmpty()) {
        return path;
    }
    path = folder.filePath(ods ? QStringLiteral("big.ods") : QStringLiteral("big.xlsx"));
    if (!ods) {
        writeXlsx(
            path,
            [](QuaZipFile& part) {
                part.write("<worksheet><sheetData>");
                for (int r = 0; r < Rows; ++r) {
                    QByteArray row = "<row r=\"" + QByteArray::number(r + 1) + "\">";
                    for (int c = 0; c < Columns; ++c) {
                        const QByteArray ref = column(c).toLatin1() + QByteArray::number(r + 1);
                        row += c % 2 == 0 ? "<c r=\"" + ref + "\" t=\"s\"><v>" +
                                                QByteArray::number((r + c) % 1000) + "</v></c>"
                                          : "<c r=\"" + ref + "\" s=\"1\"><v>" +
                                                QByteArray::number(r * 37.25 + c) + "</v></c>";
                    }
                    part.write(row + "</row>");
                }
                part.write("</sheetData></worksheet>");
            },
            true);
        return path;
    }
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    addPart(zip, QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet");
    addPart(zip, QStringLiteral("content.xml"), [](QuaZipFile& part) {
        part.write(
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
            "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
            "xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\"><office:automatic-styles>"
            "<number:number-style style:name=\"N1\"><number:number number:decimal-places=\"2\" "
            "number:min-integer-digits=\"1\" number:grouping=\"true\"/></number:number-style>"
            "<style:style style:name=\"ce1\" style:family=\"table-cell\" style:data-style-name=\"N1\"/>"
            "</office:automatic-styles><office:body><office:spreadsheet><table:table table:name=\"data\">");
        for (int r = 0; r < Rows; ++r) {
            QByteArray row = "<table:table-row>";
            for (int c = 0; c < Columns; ++c) {
                row +=
                    c % 2 == 0
                        ? "<table:table-cell office:value-type=\"string\"><text:p>\xE5\x95\x86\xE5\x93\x81" +
                              QByteArray::number((r + c) % 1000) + "</text:p></table:table-cell>"
                        : "<table:table-cell table:style-name=\"ce1\" office:value-type=\"float\" "
                          "office:value=\"" +
                              QByteArray::number(r * 37.25 + c) + "\"><text:p>x</text:p></table:table-cell>";
            }
            part.write(row + "</table:table-row>");
        }
        part.write("</table:table></office:spreadsheet></office:body></office:document-content>");
    });
    zip.close();
    return path;
}

void SheetImport(benchmark::State& state) {
    const QString& path = bigSheet(state.range(0) == 1);
    QTemporaryDir data;
    const TableDataFiles files = TableDataFiles::fromStored(data.path().toUtf8() + '/', "t");
    for (auto _ : state) {
        const SheetFile file = SheetFile::read(path, SheetChoice{});
        const CellTextImport imported =
            importCellTexts(file.records, TextEncoding::Utf8, Columns, TableRowRecord::CellCapacity);
        qsizetype at = 0;
        const auto next = [&imported, &at] {
            return imported.rows[at++];
        };
        if (file.records.size() != Rows ||
            !TableLayersFile::importRows(files, Columns, int(imported.rows.size()), next, false)) {
            state.SkipWithError("the sheet did not come in");
        }
    }
}

/// The reading alone: the sheet's texts fitted to the table's cells, nothing written.
void SheetRead(benchmark::State& state) {
    const QString& path = bigSheet(state.range(0) == 1);
    for (auto _ : state) {
        const SheetFile file = SheetFile::read(path, SheetChoice{});
        benchmark::DoNotOptimize(
            importCellTexts(file.records, TextEncoding::Utf8, Columns, TableRowRecord::CellCapacity));
    }
}

/// A sheet of 1 GB of blanks; with `lying`, its headers declare 1 MB.
QString expandingArchive(bool lying) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(lying ? QStringLiteral("lying.xlsx") : QStringLiteral("bomb.xlsx"));
    writeXlsx(
        path,
        [](QuaZipFile& part) {
            const QByteArray blanks(1 << 20, ' ');
            part.write("<worksheet><sheetData>");
            for (int i = 0; i < 1024; ++i) {
                part.write(blanks);
            }
        },
        false);
    if (lying) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        QByteArray bytes = file.readAll();
        const QByteArray name = "xl/worksheets/sheet1.xml";
        for (qsizetype at = 0; (at = bytes.indexOf(name, at + 1)) > 0;) {
            if (bytes.mid(at - 30, 4) == "PK\x03\x04") {
                qToLittleEndian<quint32>(1 << 20, bytes.data() + at - 30 + 22);
            } else if (bytes.mid(at - 46, 4) == "PK\x01\x02") {
                qToLittleEndian<quint32>(1 << 20, bytes.data() + at - 46 + 24);
            }
        }
        file.seek(0);
        file.write(bytes);
    }
    return path;
}

void ExpandingArchive(benchmark::State& state) {
    const bool lying = state.range(0) == 1;
    const QString path = expandingArchive(lying);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    SheetFailure failure = SheetFailure::None;
    for (auto _ : state) {
        failure = SheetFile::read(path, SheetChoice{}).failure;
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    if (failure != (lying ? SheetFailure::Damaged : SheetFailure::TooLarge)) {
        state.SkipWithError("the archive was not refused as expected");
    }
    state.counters["archive_kB"] = double(QFileInfo(path).size()) / 1024;
    state.counters["peak_rss_MB"] = double(after.ru_maxrss) / 1024;
    state.counters["rss_growth_MB"] = double(after.ru_maxrss - before.ru_maxrss) / 1024;
}

BENCHMARK(SheetImport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SheetRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpandingArchive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace kelvano

BENCHMARK_MAIN();
