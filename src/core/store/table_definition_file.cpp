#include "core/store/table_definition_file.h"

#include "core/store/failure_reasons.h"
#include "core/store/record_fields.h"
#include "core/store/record_file.h"
#include "core/store/stored_names.h"

namespace kelvano {
namespace {

void openOrThrow(RecordFile& file) {
    if (!file.openOrCreate()) {
        throw file.openError() != 0 ? IoError::fromErrorNumber(file.file().fileName(), file.openError())
                                    : IoError::fromFile(file.file());
    }
}

QByteArray encodeLive(TableDefinition definition) {
    definition.Deleted = false;
    return definition.encode();
}

} // namespace

TableDefinitionFile::TableDefinitionFile(const QString& programFolder)
    : m_path(resolveStoredPath(programFolder + FileName)) {}

void TableDefinitionFile::openOrCreate() const {
    RecordFile file(m_path, TableDefinition::Size);
    openOrThrow(file);
}

DefinitionList TableDefinitionFile::readAll() const {
    RecordFile file(m_path, TableDefinition::Size);
    openOrThrow(file);
    return readRecords(file);
}

std::optional<DefinitionList> TableDefinitionFile::readAllIfPresent() const {
    RecordFile file(m_path, TableDefinition::Size);
    if (!file.openForReading()) {
        // Only a missing file is no definitions; a folder or a pipe in its place is told.
        if (file.openError() == EISDIR || file.openError() == NotAPlainFileError) {
            throw IoError::fromErrorNumber(m_path, file.openError());
        }
        return std::nullopt;
    }
    return readRecords(file);
}

DefinitionList TableDefinitionFile::readRecords(RecordFile& file) {
    DefinitionList list;
    const qint64 count = file.recordCount();
    for (qint64 number = 0; number < count; ++number) {
        list.records.append({static_cast<int>(number), TableDefinition::decode(file.read(number))});
    }
    list.damagedTail = file.file().size() % TableDefinition::Size != 0;
    return list;
}

std::optional<TableDefinition> TableDefinitionFile::read(int number) const {
    return TableDefinitionReader(*this).read(number);
}

void TableDefinitionFile::write(int number, const TableDefinition& definition) const {
    RecordFile file(m_path, TableDefinition::Size);
    openOrThrow(file);
    file.write(number, encodeLive(definition));
}

int TableDefinitionFile::append(const TableDefinition& definition) const {
    RecordFile file(m_path, TableDefinition::Size);
    openOrThrow(file);
    const qint64 number = file.recordCount();
    file.write(number, encodeLive(definition));
    return static_cast<int>(number);
}

void TableDefinitionFile::setDeleted(int number, bool deleted) const {
    RecordFile file(m_path, TableDefinition::Size);
    openOrThrow(file);
    QByteArray record = file.read(number);
    writeU8(record, TableDefinition::DeletedAt, deleted ? 1 : 0);
    file.write(number, record);
}

IoError TableDefinitionFile::damagedTailError() const {
    return IoError(m_path, Messages::IncompleteLastRecord);
}

TableDefinitionReader::TableDefinitionReader(const TableDefinitionFile& file) : m_path(file.path()) {}

TableDefinitionReader::~TableDefinitionReader() = default;

std::optional<TableDefinition> TableDefinitionReader::read(int number) {
    if (!m_file) {
        auto file = std::make_unique<RecordFile>(m_path, TableDefinition::Size);
        if (!file->openForReading()) {
            if (file->openError() == EISDIR || file->openError() == NotAPlainFileError) {
                throw IoError::fromErrorNumber(m_path, file->openError());
            }
            return std::nullopt;
        }
        m_file = std::move(file);
    }
    return TableDefinition::decode(m_file->read(number));
}

} // namespace kelvano
