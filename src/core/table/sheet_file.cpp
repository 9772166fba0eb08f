#include "core/table/sheet_file.h"

#include "core/store/io_error.h"
#include "core/store/plain_file.h"
#include "core/table/sheet_cells.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace kelvano {
namespace sheets {
namespace {

/// The first bytes of an OLE2 compound file: an old binary workbook, or an .xlsx locked by a password.
constexpr QByteArrayView CompoundFileMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

} // namespace

Part::Part(std::unique_ptr<QuaZipFile> file, qint64 declared, qint64& expanded)
    : m_file(std::move(file)), m_declared(declared), m_expanded(expanded) {
    QIODevice::open(QIODevice::ReadOnly);
}

Part::~Part() {
    if (m_file->isOpen()) {
        m_file->close();
    }
}

qint64 Part::readData(char* data, qint64 maxSize) {
    if (m_refusal || m_ended) {
        return -1;
    }
    const qint64 read = m_file->read(data, maxSize);
    if (read < 0) {
        m_refusal = SheetFailure::Damaged;
        return -1;
    }
    m_read += read;
    m_expanded += read;
    if (m_read > m_declared) {
        m_refusal = SheetFailure::Damaged;
    } else if (m_expanded > SheetFile::ExpandedBytesRead) {
        m_refusal = SheetFailure::TooLarge;
    } else if (read == 0 && maxSize > 0) {
        // The end: all that was declared, with the archive's checksum.
        m_ended = true;
        m_file->close();
        if (m_read != m_declared || m_file->getZipError() != UNZ_OK) {
            m_refusal = SheetFailure::Damaged;
        }
    }
    return m_refusal || m_ended ? -1 : read;
}

void Part::finish(bool xmlError) {
    char rest[16384];
    while (read(rest, sizeof rest) > 0) {
    }
    if (m_refusal) {
        throw Refusal{*m_refusal};
    }
    if (xmlError) {
        throw Refusal{SheetFailure::Damaged};
    }
}

struct Archive::Parts {
    QByteArray bytes;
    QBuffer buffer;
    QuaZip zip;
    QHash<QString, QuaZipFileInfo64> entries;
    qint64 expanded = 0;
};

Archive::Archive(const QByteArray& bytes) : m_parts(std::make_unique<Parts>()) {
    if (bytes.startsWith(CompoundFileMagic)) {
        const QByteArray encrypted = QStringLiteral("EncryptedPackage").toUtf8();
        QByteArray wide;
        for (const char c : encrypted) {
            wide += c;
            wide += '\0';
        }
        throw Refusal{bytes.contains(wide) ? SheetFailure::Encrypted : SheetFailure::NotASpreadsheet};
    }
    if (!bytes.startsWith("PK")) {
        throw Refusal{SheetFailure::NotASpreadsheet};
    }
    m_parts->bytes = bytes;
    m_parts->buffer.setBuffer(&m_parts->bytes);
    m_parts->zip.setIoDevice(&m_parts->buffer);
    if (!m_parts->zip.open(QuaZip::mdUnzip)) {
        throw Refusal{SheetFailure::Damaged};
    }
    for (const QuaZipFileInfo64& info : m_parts->zip.getFileInfoList64()) {
        if (info.isEncrypted()) {
            throw Refusal{SheetFailure::Encrypted};
        }
        m_parts->entries.insert(info.name, info);
    }
    if (m_parts->zip.getZipError() != UNZ_OK) {
        throw Refusal{SheetFailure::Damaged};
    }
}

Archive::~Archive() = default;

bool Archive::contains(const QString& name) const {
    return m_parts->entries.contains(name);
}

std::unique_ptr<Part> Archive::open(const QString& name, bool required) {
    const auto entry = m_parts->entries.constFind(name);
    if (entry == m_parts->entries.constEnd()) {
        if (required) {
            throw Refusal{SheetFailure::Damaged};
        }
        return nullptr;
    }
    // The declared size first: a part that would take the reading past its bound is not expanded at all.
    if (entry->uncompressedSize > quint64(SheetFile::ExpandedBytesRead - m_parts->expanded)) {
        throw Refusal{SheetFailure::TooLarge};
    }
    if (!m_parts->zip.setCurrentFile(name, QuaZip::csSensitive)) {
        throw Refusal{SheetFailure::Damaged};
    }
    auto file = std::make_unique<QuaZipFile>(&m_parts->zip);
    if (!file->open(QIODevice::ReadOnly)) {
        throw Refusal{SheetFailure::Damaged};
    }
    return std::make_unique<Part>(std::move(file), qint64(entry->uncompressedSize), m_parts->expanded);
}

QByteArray Archive::readAll(const QString& name) {
    const std::unique_ptr<Part> part = open(name, false);
    QByteArray bytes;
    if (part) {
        char piece[16384];
        for (qint64 read; (read = part->read(piece, sizeof piece)) > 0;) {
            bytes.append(piece, read);
        }
        part->finish(false);
    }
    return bytes;
}

void Cells::set(qint64 row, qint64 column, QByteArray text) {
    if (text.isEmpty() || row < 0 || column < 0 || row >= SheetFile::RecordsRead) {
        return;
    }
    if (column >= SheetFile::FieldsRead) {
        throw Refusal{SheetFailure::TooLarge};
    }
    if (row >= m_records.size()) {
        m_records.resize(row + 1);
    }
    QByteArrayList& record = m_records[row];
    if (column >= record.size()) {
        m_fields += column + 1 - record.size();
        if (m_fields > SheetFile::FieldsRead) {
            throw Refusal{SheetFailure::TooLarge};
        }
        record.resize(column + 1);
    }
    record[column] = std::move(text);
}

void Cells::clearMerged(qint64 firstRow, qint64 firstColumn, qint64 lastRow, qint64 lastColumn) {
    if (firstRow < 0 || firstColumn < 0) {
        return;
    }
    for (qint64 row = firstRow; row <= lastRow && row < m_records.size(); ++row) {
        QByteArrayList& record = m_records[row];
        for (qint64 column = firstColumn; column <= lastColumn && column < record.size(); ++column) {
            if (++m_mergedVisits > 4 * SheetFile::FieldsRead) {
                throw Refusal{SheetFailure::TooLarge};
            }
            if (row != firstRow || column != firstColumn) {
                record[column] = QByteArray();
            }
        }
    }
}

QList<QByteArrayList> Cells::takeRecords(bool& hiddenCells) {
    qsizetype width = 0;
    // Merged cells may have emptied the ends of rows: each row ends at its last text, the sheet at its
    // last row holding one.
    for (QByteArrayList& record : m_records) {
        while (!record.isEmpty() && record.last().isEmpty()) {
            record.removeLast();
        }
        width = std::max(width, record.size());
    }
    while (!m_records.isEmpty() && m_records.last().isEmpty()) {
        m_records.removeLast();
    }
    for (QByteArrayList& record : m_records) {
        if (record.isEmpty()) {
            record.append(QByteArray());
        }
    }
    hiddenCells = m_hiddenRow < m_records.size() || m_hiddenColumn < width;
    return std::move(m_records);
}

bool nextStartElementWithin(QXmlStreamReader& xml, int& depth) {
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            return true;
        }
        if (token == QXmlStreamReader::EndElement && depth-- == 0) {
            return false;
        }
    }
    return false;
}

QByteArray keptText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > SheetFile::FieldBytesRead) {
        qsizetype end = SheetFile::FieldBytesRead;
        while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
            --end;
        }
        bytes.truncate(end);
    }
    return bytes;
}

bool SheetWanted::byIndex(int index) const {
    if (!choice.nameOrNumber) {
        return index == choice.index;
    }
    bool number = false;
    const int asked = choice.nameOrNumber->toInt(&number);
    return number && !choice.nameOrNumber->startsWith(u'+') && asked == index + 1;
}

bool SheetWanted::byName(const QString& name) const {
    return choice.nameOrNumber && *choice.nameOrNumber == name;
}

Cells* ReadSheets::cellsFor(int index, const QString& name, const SheetWanted& wanted) {
    names.append(name);
    Cells* cells = nullptr;
    if (wanted.byName(name) && !nameKept) {
        nameKept = index;
        cells = &nameCells;
    }
    if (wanted.byIndex(index) && !indexKept) {
        indexKept = index;
        cells = cells != nullptr ? cells : &indexCells;
    }
    return cells;
}

} // namespace sheets

SheetFile SheetFile::read(const QString& path, const SheetChoice& choice) {
    QFile source(path);
    if (int error = 0; !openPlainFile(source, QIODevice::ReadOnly, error)) {
        throw IoError::fromErrorNumber(path, error);
    }
    // Mapped, not read: the archive costs address space, never a copy of itself.
    const qint64 size = source.size();
    const uchar* mapped = size > 0 ? source.map(0, size) : nullptr;
    QByteArray bytes;
    if (mapped != nullptr) {
        bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    } else {
        bytes = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            throw IoError::fromFile(source);
        }
    }
    SheetFile file;
    file.path = path;
    sheets::ReadSheets found;
    const sheets::SheetWanted wanted{choice};
    try {
        sheets::Archive archive(bytes);
        if (archive.contains(QStringLiteral("mimetype"))) {
            const QByteArray type = archive.readAll(QStringLiteral("mimetype")).trimmed();
            if (!type.startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
                throw sheets::Refusal{SheetFailure::NotASpreadsheet};
            }
            sheets::readOds(archive, wanted, found);
        } else if (archive.contains(QStringLiteral("[Content_Types].xml"))) {
            sheets::readXlsx(archive, wanted, found);
        } else {
            throw sheets::Refusal{SheetFailure::NotASpreadsheet};
        }
    } catch (const sheets::Refusal& refusal) {
        file.failure = refusal.failure;
        return file;
    }
    file.sheetNames = found.names;
    if (choice.index < 0 && !choice.nameOrNumber) {
        return file;
    }
    sheets::Cells* cells = nullptr;
    if (found.nameKept) {
        file.sheet = *found.nameKept;
        cells = &found.nameCells;
    } else if (found.indexKept) {
        file.sheet = *found.indexKept;
        cells = &found.indexCells;
    } else {
        file.failure = SheetFailure::NoSuchSheet;
        file.missingSheet = choice.nameOrNumber.value_or(QString::number(choice.index + 1));
        return file;
    }
    file.records = cells->takeRecords(file.hiddenCells);
    return file;
}

} // namespace kelvano
