#include "core/publish/upload_files.h"

#include "core/html/table_markup.h"
#include "core/store/file_names.h"
#include "core/store/shift_jis.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/table_row_record.h"

#include <QFileInfo>
#include <QSet>

namespace kelvano {
namespace {

/// Names that could not travel in a server command: control characters (a line end would end the
/// command) or nothing at all.
bool isSendableName(const QString& name) {
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('/')) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QString> remoteImageFolder(const SettingsRecord& settings) {
    QString path = ShiftJis::decode(settings.ServerImagePath);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty()) {
        return QString();
    }
    if (path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char(':'))) {
        return std::nullopt;
    }
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (!isSendableName(part)) {
            return std::nullopt;
        }
    }
    return parts.isEmpty() ? QString() : parts.join(QLatin1Char('/')) + QLatin1Char('/');
}

QString localPathOf(const SettingsRecord& settings, const QString& remotePath, UploadFileKind kind) {
    if (kind == UploadFileKind::Page) {
        return ShiftJis::decode(settings.HtmlFolder) + remotePath;
    }
    return ShiftJis::decode(settings.ImageFolder) + remotePath.section(QLatin1Char('/'), -1);
}

std::optional<UploadFiles> gatherUploadFiles(const SettingsRecord& settings, const QString& programFolder,
                                             const QList<int>& definitionNumbers) {
    const TableDefinitionFile definitionFile(programFolder);
    const std::optional<DefinitionList> definitions = definitionFile.readAllIfPresent();
    if (!definitions) {
        return std::nullopt;
    }
    const QString htmlFolder = ShiftJis::decode(settings.HtmlFolder);
    const QString imageFolder = ShiftJis::decode(settings.ImageFolder);
    const QString dataFolder = ShiftJis::decode(settings.DataFolder);
    const std::optional<QString> imagePath = remoteImageFolder(settings);
    UploadFiles result;
    result.imagePathUnusable = !imagePath;
    QSet<QString> listed;
    QList<LocalFile> pictures;
    for (const int number : definitionNumbers) {
        if (number < 0 || number >= definitions->records.size()) {
            continue;
        }
        const TableDefinition& definition = definitions->records.at(number).definition;
        if (definition.Deleted) {
            continue;
        }
        const QString title = ShiftJis::decode(definition.TableName);
        const QString fileName = ShiftJis::decode(definition.FileName);
        if (!isUsableFileName(fileName)) {
            continue;
        }
        const QString page = fileName + QStringLiteral(".html");
        if (!QFileInfo(htmlFolder + page).isFile()) {
            result.unwrittenPages.append({number, title, htmlFolder + page});
            continue;
        }
        if (!listed.contains(page)) {
            listed.insert(page);
            result.files.append({UploadFileKind::Page, htmlFolder + page, page});
        }
        if (!imagePath) {
            continue;
        }
        const int columns = definition.usableColumnCount();
        TableRowReader rows;
        if (!TableDataFiles(dataFolder, fileName)
                 .openRowsForReading(rows, {.layers = RecordSlots::Pictures | RecordSlots::Backgrounds,
                                            .columns = columns})) {
            continue; // the page was written from rows that are gone: it refers to nothing we know of
        }
        QSet<QString> toldMissing;
        TableRowRecord record;
        while (rows.next(record)) {
            for (int c = 1; c <= columns; ++c) {
                const auto i = static_cast<std::size_t>(c);
                for (const QByteArray* stored : {&record.CellPictures[i], &record.CellBackgrounds[i]}) {
                    if (stored->isEmpty()) {
                        continue;
                    }
                    const QString name = ShiftJis::decode(fileNamePart(*stored));
                    const QString remote = *imagePath + name;
                    if (listed.contains(remote) || toldMissing.contains(name)) {
                        continue;
                    }
                    if (!isSendableName(name) || !QFileInfo(imageFolder + name).isFile()) {
                        toldMissing.insert(name);
                        result.missingPictures.append({number, title, name});
                        continue;
                    }
                    listed.insert(remote);
                    pictures.append({UploadFileKind::Picture, imageFolder + name, remote});
                }
            }
        }
    }
    result.files += pictures;
    return result;
}

} // namespace kelvano
