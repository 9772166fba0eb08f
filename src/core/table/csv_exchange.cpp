#include "core/table/csv_exchange.h"

#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/store/save_file.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/table/table_layers.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <functional>
#include <optional>

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

namespace {

/// The text of a file that opens with a UTF-16 or UTF-32 byte-order mark, as UTF-8; nullopt for any
/// other file.
std::optional<QByteArray> fromWideUnicode(QByteArrayView bytes) {
    std::optional<QStringConverter::Encoding> wide;
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4))) {
        wide = QStringConverter::Utf32LE;
    } else if (bytes.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4))) {
        wide = QStringConverter::Utf32BE;
    } else if (bytes.startsWith("\xFF\xFE")) {
        wide = QStringConverter::Utf16LE;
    } else if (bytes.startsWith("\xFE\xFF")) {
        wide = QStringConverter::Utf16BE;
    }
    if (!wide) {
        return std::nullopt;
    }
    QStringDecoder decoder(*wide);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar::ByteOrderMark)) {
        text.remove(0, 1);
    }
    return text.toUtf8();
}

/// The first line (from 1) of a Shift-JIS file that is UTF-8 instead: valid UTF-8 holding a character
/// past ASCII, which Shift-JIS text almost never is. 0 when there is none.
qsizetype firstUtf8Line(QByteArrayView bytes) {
    qsizetype line = 1;
    for (qsizetype start = 0; start < bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end;
        const QByteArrayView text = bytes.sliced(start, end - start);
        const bool beyondAscii =
            std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
        if (beyondAscii && DelimitedText::isValidUtf8(text)) {
            return line;
        }
        start = end + 1;
    }
    return 0;
}

/// The longest start of a field cut at the bound that ends on a character boundary.
QByteArray wholeCharacters(const QByteArray& field, TextEncoding encoding) {
    if (encoding == TextEncoding::ShiftJis) {
        return cutAtCharacter(field, field.size());
    }
    qsizetype end = field.size();
    qsizetype start = end;
    while (start > 0 && (static_cast<unsigned char>(field[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start > 0 && !DelimitedText::isValidUtf8(QByteArrayView(field).sliced(start - 1))) {
        end = start - 1;
    }
    return field.first(end);
}

} // namespace

CsvFile CsvFile::read(const QString& path) {
    QFile source(path);
    if (int error = 0; !openPlainFile(source, QIODevice::ReadOnly, error)) {
        throw IoError::fromErrorNumber(path, error);
    }
    // Mapped, not read: a large file costs address space, never a copy of itself.
    const qint64 size = source.size();
    const uchar* mapped = size > 0 ? source.map(0, size) : nullptr;
    QByteArray readBytes;
    if (size > 0 && mapped == nullptr) {
        readBytes = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            throw IoError::fromFile(source);
        }
    }
    QByteArrayView bytes = mapped != nullptr ? QByteArrayView(mapped, size) : QByteArrayView(readBytes);
    CsvFile file{path, {}, {}, std::nullopt};
    const std::optional<QByteArray> wide = fromWideUnicode(bytes);
    if (wide) {
        bytes = *wide;
    } else if (bytes.contains('\0')) {
        file.refusal = CsvRefusal{CsvRefusal::NulBytes};
        return file;
    }
    file.format = DelimitedText::detect(bytes);
    file.format.byteOrderMark = file.format.byteOrderMark || wide.has_value();
    if (file.format.encoding == TextEncoding::ShiftJis) {
        if (const qsizetype line = firstUtf8Line(bytes); line > 0) {
            file.refusal = CsvRefusal{CsvRefusal::MixedEncodings, line};
            return file;
        }
    }
    DelimitedText::Parsed parsed = DelimitedText::parseBounded(
        DelimitedText::withoutByteOrderMark(bytes), file.format.separator, RecordsRead, FieldBytesRead);
    if (parsed.unclosedQuoteLine > 0) {
        file.refusal = CsvRefusal{CsvRefusal::QuoteNotClosed, parsed.unclosedQuoteLine};
        return file;
    }
    for (QByteArrayList& record : parsed.records) {
        for (QByteArray& field : record) {
            if (field.size() == FieldBytesRead) {
                field = wholeCharacters(field, file.format.encoding);
            }
        }
    }
    file.records = std::move(parsed.records);
    return file;
}

int rowsKeptByCsvImport(int rowCount, bool onlyAnEmptyRow, bool append) {
    return append && !onlyAnEmptyRow ? rowCount : 0;
}

bool csvImportRefused(const CellTextImport& imported) {
    return !imported.unencodableCells.isEmpty();
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
