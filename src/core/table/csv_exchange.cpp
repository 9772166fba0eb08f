#include "core/table/csv_exchange.h"

#include "core/store/core_messages.h"
#include "core/store/io_error.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/table/table_layers.h"

#include <QFile>
#include <functional>

namespace kelvano {
namespace {

/// Writes CSV records to a device, `nextRow` filling the texts of one row (as stored, Shift-JIS) until
/// it gives false. Scratch files are unbuffered, so records are gathered into chunks.
qsizetype writeCsvRecords(QIODevice& device, TextEncoding encoding,
                          const std::function<bool(QList<QByteArrayView>&)>& nextRow) {
    constexpr qsizetype ChunkSize = 256 * 1024;
    qsizetype rows = 0;
    {
        QByteArray chunk = encoding == TextEncoding::Utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        QList<QByteArrayView> texts;
        QByteArrayList fields;
        while (nextRow(texts)) {
            fields.clear();
            for (const QByteArrayView text : texts) {
                fields.append(encoding == TextEncoding::Utf8 ? ShiftJis::decode(text).toUtf8()
                                                             : text.toByteArray());
            }
            chunk += DelimitedText::format({fields}, ',', "\r\n");
            ++rows;
            if (chunk.size() >= ChunkSize) {
                writeAll(device, chunk);
                chunk.resize(0);
            }
        }
        writeAll(device, chunk);
    }
    return rows;
}

/// The same into `path`, replaced as a whole.
qsizetype writeCsv(const QString& path, TextEncoding encoding,
                   const std::function<bool(QList<QByteArrayView>&)>& nextRow) {
    qsizetype rows = 0;
    replaceWholeFile(path, [&](QIODevice& device) { rows = writeCsvRecords(device, encoding, nextRow); });
    return rows;
}

/// Gives the texts of the next record of `rows`, columns 1 to `columns`.
std::function<bool(QList<QByteArrayView>&)> recordTexts(TableRowReader& rows, int columns,
                                                        TableRowRecord& record) {
    return [&rows, columns, &record](QList<QByteArrayView>& texts) {
        if (!rows.next(record)) {
            return false;
        }
        texts.clear();
        for (int column = 1; column <= columns; ++column) {
            texts.append(record.CellTexts[size_t(column)]);
        }
        return true;
    };
}

} // namespace

CsvFile CsvFile::read(const QString& path) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        throw IoError::fromFile(source);
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        throw IoError::fromFile(source);
    }
    CsvFile file{path, DelimitedText::detect(bytes), {}};
    file.records = DelimitedText::parse(DelimitedText::withoutByteOrderMark(bytes), file.format.separator);
    return file;
}

int rowsKeptByCsvImport(int rowCount, bool onlyAnEmptyRow, bool append) {
    return append && !onlyAnEmptyRow ? rowCount : 0;
}

QStringList csvImportRefusal(const CellTextImport& imported) {
    if (imported.unencodableCells.isEmpty()) {
        return {};
    }
    return {Messages::CellTextsUnencodable.arg(imported.unencodable, cellNames(imported.unencodableCells)),
            Messages::CsvImportRefused};
}

void exportCellTexts(const QString& path, const TableLayers& layers, TextEncoding encoding) {
    int row = 0;
    writeCsv(path, encoding, [&](QList<QByteArrayView>& texts) {
        if (row == layers.rowCount()) {
            return false;
        }
        texts.clear();
        for (int column = 0; column < layers.columnCount(); ++column) {
            texts.append(layers.text(row, column));
        }
        ++row;
        return true;
    });
}

qsizetype exportCellTexts(const QString& path, TableRowReader& rows, int columns, TextEncoding encoding) {
    TableRowRecord record;
    return writeCsv(path, encoding, recordTexts(rows, columns, record));
}

qsizetype writeCellTexts(QIODevice& device, TableRowReader& rows, int columns, TextEncoding encoding) {
    TableRowRecord record;
    return writeCsvRecords(device, encoding, recordTexts(rows, columns, record));
}

} // namespace kelvano
