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
#include <sys/stat.h>

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
        chunk.reserve(ChunkSize + 64 * 1024);
        QList<QByteArrayView> texts;
        QByteArray utf8;
        while (nextRow(texts)) {
            for (qsizetype i = 0; i < texts.size(); ++i) {
                if (i > 0) {
                    chunk += ',';
                }
                // ASCII is the same in either encoding; only a text past it is converted.
                const QByteArrayView text = texts[i];
                const bool ascii =
                    std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
                if (encoding == TextEncoding::Utf8 && !ascii) {
                    utf8.resize(0);
                    ShiftJis::appendUtf8(utf8, text);
                    DelimitedText::appendField(chunk, utf8, ',');
                } else {
                    DelimitedText::appendField(chunk, text, ',');
                }
            }
            chunk += "\r\n";
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
    // Each record is read where it lies in the reader's buffer; only its texts are looked at.
    return [&rows, columns](QList<QByteArrayView>& texts) {
        const std::optional<TableRowView> record = rows.nextView();
        if (!record) {
            return false;
        }
        texts.clear();
        for (int column = 1; column <= columns; ++column) {
            texts.append(record->text(column));
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

/// A CSV file open for reading: its bytes mapped (or read, where it cannot be mapped; a wide Unicode
/// file as UTF-8), with its size and modification time.
struct CsvRecords::Source {
    std::unique_ptr<QFile> file;
    QByteArray copy;
    QByteArrayView bytes;
    bool wide = false;
    qint64 size = 0;
    qint64 modified = 0;
    TextEncoding encoding = TextEncoding::Utf8;
    std::optional<DelimitedText::RecordReader> reader;
    qsizetype left = CsvFile::RecordsRead;
};

namespace {

std::unique_ptr<CsvRecords::Source> openCsv(const QString& path) {
    auto source = std::make_unique<CsvRecords::Source>();
    source->file = std::make_unique<QFile>(path);
    QFile& file = *source->file;
    if (int error = 0; !openPlainFile(file, QIODevice::ReadOnly, error)) {
        throw IoError::fromErrorNumber(path, error);
    }
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0) {
        throw IoError::fromErrorNumber(path, errno);
    }
    source->size = status.st_size;
    source->modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    // Mapped, not read: a large file costs address space, never a copy of itself.
    const uchar* mapped = source->size > 0 ? file.map(0, source->size) : nullptr;
    if (source->size > 0 && mapped == nullptr) {
        source->copy = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            throw IoError::fromFile(file);
        }
    }
    source->bytes = mapped != nullptr ? QByteArrayView(mapped, source->size) : QByteArrayView(source->copy);
    if (std::optional<QByteArray> wide = fromWideUnicode(source->bytes)) {
        source->copy = std::move(*wide);
        source->bytes = source->copy;
        source->wide = true;
    }
    return source;
}

} // namespace

CsvRecords::CsvRecords() = default;
CsvRecords::~CsvRecords() = default;
CsvRecords::CsvRecords(CsvRecords&&) noexcept = default;
CsvRecords& CsvRecords::operator=(CsvRecords&&) noexcept = default;

bool CsvRecords::next(QByteArrayList& record) {
    if (!m_source || m_source->left == 0 || !m_source->reader->next(record)) {
        return false;
    }
    --m_source->left;
    for (QByteArray& field : record) {
        if (field.size() == CsvFile::FieldBytesRead) {
            field = wholeCharacters(field, m_source->encoding);
        }
    }
    return true;
}

qsizetype CsvRecords::unclosedQuoteLine() const {
    return m_source ? m_source->reader->unclosedQuoteLine() : 0;
}

CsvFile CsvFile::read(const QString& path) {
    std::unique_ptr<CsvRecords::Source> source = openCsv(path);
    CsvFile file;
    file.path = path;
    file.size = source->size;
    file.modified = source->modified;
    const QByteArrayView bytes = source->bytes;
    if (!source->wide && bytes.contains('\0')) {
        file.refusal = CsvRefusal{CsvRefusal::NulBytes};
        return file;
    }
    file.format = DelimitedText::detect(bytes);
    file.format.byteOrderMark = file.format.byteOrderMark || source->wide;
    if (file.format.encoding == TextEncoding::ShiftJis) {
        if (const qsizetype line = firstUtf8Line(bytes); line > 0) {
            file.refusal = CsvRefusal{CsvRefusal::MixedEncodings, line};
            return file;
        }
    }
    // The records are counted here and read again where they are taken, never all held at once.
    source->encoding = file.format.encoding;
    source->reader.emplace(DelimitedText::withoutByteOrderMark(bytes), file.format.separator, FieldBytesRead);
    CsvRecords records;
    records.m_source = std::move(source);
    QByteArrayList record;
    while (records.next(record)) {
        if (file.recordCount < FirstRecordsKept) {
            file.firstRecords.append(record);
        }
        file.widestRecord = std::max(file.widestRecord, record.size());
        ++file.recordCount;
    }
    if (const qsizetype line = records.unclosedQuoteLine(); line > 0) {
        file.refusal = CsvRefusal{CsvRefusal::QuoteNotClosed, line};
        file.recordCount = 0;
        file.widestRecord = 0;
        file.firstRecords.clear();
    }
    return file;
}

CsvRecords CsvFile::records() const {
    CsvRecords records;
    if (recordCount == 0 || refusal) {
        return records;
    }
    std::unique_ptr<CsvRecords::Source> source = openCsv(path);
    if (source->size != size || source->modified != modified) {
        throw IoError::fromErrorNumber(path, FileChangedError);
    }
    source->encoding = format.encoding;
    source->reader.emplace(DelimitedText::withoutByteOrderMark(source->bytes), format.separator,
                           FieldBytesRead);
    records.m_source = std::move(source);
    return records;
}

ImportedRecords ImportedRecords::of(const CsvFile& file) {
    return {file.recordCount, file.widestRecord, file.format.encoding, [&file] {
                auto reading = std::make_shared<CsvRecords>(file.records());
                return [reading](QByteArrayList& record) {
                    return reading->next(record);
                };
            }};
}

ImportedRecords ImportedRecords::of(const QList<QByteArrayList>& records) {
    qsizetype widest = 0;
    for (const QByteArrayList& record : records) {
        widest = std::max(widest, record.size());
    }
    return {records.size(), widest, TextEncoding::Utf8, [&records] {
                auto at = std::make_shared<qsizetype>(0);
                return [&records, at](QByteArrayList& record) {
                    if (*at == records.size()) {
                        return false;
                    }
                    record = records[(*at)++];
                    return true;
                };
            }};
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
