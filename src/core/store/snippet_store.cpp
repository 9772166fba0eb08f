#include "core/store/snippet_store.h"

#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/record_fields.h"
#include "core/store/record_file.h"
#include "core/store/save_file.h"
#include "core/store/stored_names.h"
#include "core/store/text_lines.h"

#include <QFile>

namespace kelvano {

QByteArray SnippetIndexRecord::encode() const {
    QByteArray record(Size, '\0');
    writeShortString(record, SnippetNameAt, NameCapacity, SnippetName);
    writeU8(record, DeletedAt, Deleted);
    return record;
}

SnippetIndexRecord SnippetIndexRecord::decode(QByteArrayView record) {
    return {readShortString(record, SnippetNameAt, NameCapacity), readU8(record, DeletedAt) != 0};
}

QByteArray SnippetEntry::choiceItem() const {
    return QByteArray::number(number) + ':' + name;
}

SnippetStore::SnippetStore(const QString& dataFolder, SnippetKind kind)
    : m_dataFolder(dataFolder),
      m_prefix(kind == SnippetKind::Header ? QStringLiteral("HEAD") : QStringLiteral("FOOT")) {}

QString SnippetStore::indexPath() const {
    return resolveStoredPath(m_dataFolder + m_prefix + QStringLiteral(".DAT"));
}

QString SnippetStore::bodyPath(int number) const {
    return bodyPath(QByteArray::number(number));
}

QString SnippetStore::bodyPath(QByteArrayView numberText) const {
    return resolveStoredPath(m_dataFolder + m_prefix + QLatin1Char('.') + QString::fromLatin1(numberText));
}

std::optional<QList<SnippetEntry>> SnippetStore::loadEntries() const {
    RecordFile index(indexPath(), SnippetIndexRecord::Size);
    if (!index.openOrCreate()) {
        return std::nullopt;
    }
    QList<SnippetEntry> entries;
    const qint64 count = index.recordCount();
    for (qint64 number = 0; number < count; ++number) {
        const SnippetIndexRecord record = SnippetIndexRecord::decode(index.read(number));
        if (!record.Deleted) {
            entries.append({static_cast<int>(number), record.SnippetName});
        }
    }
    return entries;
}

std::optional<Snippet> SnippetStore::read(int number) const {
    RecordFile index(indexPath(), SnippetIndexRecord::Size);
    if (!index.openForReading()) {
        return std::nullopt;
    }
    Snippet snippet{SnippetIndexRecord::decode(index.read(number)).SnippetName, std::nullopt};
    snippet.body = readLinesFile(bodyPath(number));
    return snippet;
}

std::optional<int> SnippetStore::registerSnippet(QByteArrayView name, const QList<QByteArray>& body) const {
    RecordFile index(indexPath(), SnippetIndexRecord::Size);
    if (!index.open()) {
        return std::nullopt;
    }
    const qint64 number = index.recordCount();
    // The body first: a body that cannot be written leaves no index record without one. Should the
    // record then fail, the body goes again unless it was there before.
    const QString newBodyPath = bodyPath(static_cast<int>(number));
    const bool bodyExisted = QFile::exists(newBodyPath);
    change(static_cast<int>(number), body);
    try {
        index.write(
            number,
            SnippetIndexRecord{cutToCapacity(name, SnippetIndexRecord::NameCapacity), false}.encode());
    } catch (const IoError&) {
        if (!bodyExisted) {
            QFile::remove(newBodyPath);
        }
        throw;
    }
    return static_cast<int>(number);
}

void SnippetStore::change(int number, const QList<QByteArray>& body) const {
    requirePathOfThisSystem(bodyPath(number));
    replaceWholeFile(bodyPath(number), joinLines(body));
}

bool SnippetStore::remove(int number) const {
    RecordFile index(indexPath(), SnippetIndexRecord::Size);
    if (!index.open()) {
        return false;
    }
    SnippetIndexRecord record = SnippetIndexRecord::decode(index.read(number));
    record.Deleted = true;
    index.write(number, record.encode());
    return true;
}

} // namespace kelvano
