#include "core/table/csv_exchange.h"

#include "core/store/core_messages.h"
#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/table/table_layers.h"

#include <QFile>
#include <functional>

namespace kelvano {
namespace {

using NextRow = std::function<bool(QList<QByteArrayView>&)>;

/// Writes CSV records to `device`, `nextRow` filling the texts of one row (as stored, Shift-JIS) until
/// it gives false. A scratch file is unbuffered, so records are gathered into chunks.
qsizetype writeCsv(QIODevice& device, TextEncoding encoding, const NextRow& nextRow) {
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

qsizetype writeCsv(const QString& path, TextEncoding encoding, const NextRow& nextRow) {
    qsizetype rows = 0;
    replaceWholeFile(path, [&](QIODevice& device) { rows = writeCsv(device, encoding, nextRow); });
    return rows;
}

NextRow rowsOfReader(TableRowReader& rows, int columns) {
    return [&rows, columns, record = TableRowRecord()](QList<QByteArrayView>& texts) mutable {
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
    if (int error = 0; !openPlainFile(source, QIODevice::ReadOnly, error)) {
        throw IoError::fromErrorNumber(path, error);
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
    return writeCsv(path, encoding, rowsOfReader(rows, columns));
}

qsizetype exportCellTexts(QIODevice& device, TableRowReader& rows, int columns, TextEncoding encoding) {
    return writeCsv(device, encoding, rowsOfReader(rows, columns));
}

} // namespace kelvano
