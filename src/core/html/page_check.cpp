#include "core/html/page_check.h"

#include "core/html/header_macros.h"
#include "core/html/html5_table_markup.h"
#include "core/html/page_encoding.h"
#include "core/html/page_generator.h"
#include "core/html/page_output.h"
#include "core/html/table_markup.h"
#include "core/store/file_names.h"
#include "core/store/io_error.h"
#include "core/store/shift_jis.h"
#include "core/store/stored_names.h"
#include "core/store/table_data_files.h"
#include "core/store/table_definition_file.h"
#include "core/store/text_lines.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kelvano {
namespace {

/// A link that names a scheme ("http:", "mailto:") leaves the site's folders.
bool hasScheme(const QString& link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(link).hasMatch();
}

/// The page file a link names within the HTML folder, when it is a link to a local page: no scheme,
/// not from the site's root, ending in .html or .htm once a "#…" or "?…" part is left aside.
std::optional<QString> localPageOf(const QString& link) {
    if (link.isEmpty() || hasScheme(link) || link.startsWith(QLatin1Char('/')) ||
        link.startsWith(QLatin1Char('#'))) {
        return std::nullopt;
    }
    QString path = link;
    const qsizetype end = path.indexOf(QRegularExpression(QStringLiteral("[#?]")));
    if (end >= 0) {
        path.truncate(end);
    }
    if (!path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return path;
}

/// Whether stored bytes hold "\\" as a separator (a 0x5C that is the second byte of a double-byte
/// character is none).
bool holdsBackslash(QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (ShiftJis::isLeadByte(static_cast<unsigned char>(bytes[i]))) {
            ++i;
        } else if (bytes[i] == '\\') {
            return true;
        }
    }
    return false;
}

/// A picture path that names a subfolder with "\\" ("sub\\photo.jpg"), not a full Windows path
/// ("C:\\pics\\photo.jpg", "\\\\server\\photo.jpg"), whose folder only the computer it was picked on knew.
bool isRelativeWithBackslash(QByteArrayView path) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    return !drive && !path.startsWith('\\') && holdsBackslash(path);
}

/// The folder with "/" at its end and without "." or ".." steps, for comparing folders.
QString cleanFolder(const QString& folder) {
    QString cleaned = QDir::cleanPath(folder);
    if (!cleaned.endsWith(QLatin1Char('/'))) {
        cleaned += QLatin1Char('/');
    }
    return cleaned;
}

class TableCheck {
public:
    TableCheck(const SettingsRecord& settings, PageEncoding encoding, PageMarkup markup,
               QList<PageFinding>& findings)
        : m_dataFolder(ShiftJis::decode(settings.DataFolder)),
          m_htmlFolder(ShiftJis::decode(settings.HtmlFolder)),
          m_imageFolder(ShiftJis::decode(settings.ImageFolder)),
          m_serverImagePath(ShiftJis::decode(settings.ServerImagePath)), m_encoding(encoding),
          m_markup(markup), m_findings(findings) {}

    void check(int number, const TableDefinition& definition) {
        m_number = number;
        m_title = ShiftJis::decode(definition.TableName);
        const auto header = snippet(SnippetKind::Header, definition.HeaderName);
        const auto footer = snippet(SnippetKind::Footer, definition.FooterName);
        checkCharset(header, footer);
        if (m_markup == PageMarkup::Html5 && header && footer) {
            checkMarkup(definition, *header, *footer);
        }
        checkWidth(definition);
        if (!isUsableStoredFileName(definition.FileName)) {
            tell({FindingKind::FileNameUnusable});
            return;
        }
        checkRows(definition);
    }

    /// The pages this run writes, by file name in the HTML folder: a link to one of them is not missing.
    void setPagesWritten(QSet<QString> names) { m_pagesWritten = std::move(names); }

    /// What is wrong and its values, for the table being checked.
    struct Finding {
        FindingKind kind;
        QString subject = {};
        QString detail = {};
        QStringList names = {};
        int figure = 0;
    };

    void tell(const Finding& finding) {
        m_findings.append({m_number, m_title, finding.kind, finding.subject, finding.detail, finding.names,
                           finding.figure});
    }

private:
    /// The lines of a header or footer; nullopt (after telling why) when it names no body or the body
    /// cannot be read.
    std::optional<QList<QByteArray>> snippet(SnippetKind kind, const QByteArray& choice) {
        const bool header = kind == SnippetKind::Header;
        const std::optional<QString> path = SnippetBodyPath(m_dataFolder, kind, choice);
        if (!path) {
            tell({header ? FindingKind::HeaderNotChosen : FindingKind::FooterNotChosen});
            return std::nullopt;
        }
        std::optional<QList<QByteArray>> lines = readLinesFile(*path);
        if (!lines) {
            tell({header ? FindingKind::HeaderBodyMissing : FindingKind::FooterBodyMissing, *path});
        }
        checkDataFolderName(QFileInfo(*path).fileName());
        return lines;
    }

    void checkCharset(const std::optional<QList<QByteArray>>& header,
                      const std::optional<QList<QByteArray>>& footer) {
        bool declared = false;
        for (const auto* lines : {&header, &footer}) {
            if (!*lines) {
                continue;
            }
            for (const QByteArray& line : **lines) {
                // As the page will carry it: a UTF-8 page renames the Shift-JIS declarations.
                const QByteArray name =
                    declaredCharset(m_encoding == PageEncoding::Utf8 ? rewriteCharsetNames(line) : line);
                if (name.isEmpty()) {
                    continue;
                }
                declared = true;
                if (!charsetNameMatches(name, m_encoding)) {
                    tell({FindingKind::CharsetOther, ShiftJis::decode(name),
                          ProgramSettings::pageEncodingName(m_encoding)});
                }
            }
        }
        if (!declared && (header || footer)) {
            tell({FindingKind::NoCharset, {}, ProgramSettings::pageEncodingName(m_encoding)});
        }
    }

    /// Runs tidy over the header and footer around a table of one empty cell, as the page will carry
    /// them; each of its lines is told with the line of the header or footer it names. Nothing is told
    /// when tidy is not installed.
    void checkMarkup(const TableDefinition& definition, const QList<QByteArray>& header,
                     const QList<QByteArray>& footer) {
        const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
        if (tidy.isEmpty()) {
            return;
        }
        QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kelvano-check-XXXXXX.html"));
        if (!file.open()) {
            return;
        }
        {
            PageOutput page(file, m_encoding);
            for (const QByteArray& line : header) {
                const QByteArray expanded = ExpandTableStyle(ExpandMacros(line), [&definition, this] {
                    return Html5TableMarkup(definition, {}, m_encoding).styleSheet();
                });
                page.writeLine(m_encoding == PageEncoding::Utf8 ? rewriteCharsetNames(expanded) : expanded);
            }
            page.writeLine("<table><tr><td></td></tr></table>");
            for (const QByteArray& line : footer) {
                page.writeLine(m_encoding == PageEncoding::Utf8 ? rewriteCharsetNames(line) : line);
            }
            page.finish();
        }
        file.close();
        QProcess process;
        process.start(
            tidy, {QStringLiteral("-e"), QStringLiteral("-q"),
                   m_encoding == PageEncoding::Utf8 ? QStringLiteral("-utf8") : QStringLiteral("-shiftjis"),
                   file.fileName()});
        if (!process.waitForFinished(30000)) {
            return;
        }
        static const QRegularExpression place(QStringLiteral("^line (\\d+) column (\\d+) - (.*)$"));
        // Told in the order of the page: the header's lines, then the footer's.
        const auto headerLines = static_cast<int>(header.size());
        QList<std::pair<int, QString>> found;
        for (const QString& line :
             QString::fromUtf8(process.readAllStandardError()).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = place.match(line.trimmed());
            if (match.hasMatch()) {
                found.append({match.captured(1).toInt(), match.captured(3)});
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, text] : found) {
            if (at <= headerLines) {
                tell({FindingKind::HeaderMarkup, {}, text, {}, at});
            } else if (at > headerLines + 1) {
                tell({FindingKind::FooterMarkup, {}, text, {}, at - headerLines - 1});
            } else {
                // The table's own line: what is wrong there comes from the header around it.
                tell({FindingKind::HeaderMarkup, {}, text, {}, headerLines});
            }
        }
    }

    void checkRows(const TableDefinition& definition) {
        const TableDataFiles dataFiles(m_dataFolder, ShiftJis::decode(definition.FileName));
        TableRowReader rows;
        if (!dataFiles.openRowsForReading(rows)) {
            // A missing file is told as missing; a folder, a pipe or a loop of links by its cause.
            const bool missing = rows.openError() == ENOENT || rows.openError() == ENOTDIR;
            if (missing) {
                tell({FindingKind::NoDataFile, dataFiles.tablePath()});
            } else {
                tell({FindingKind::DataFileUnreadable, dataFiles.tablePath(),
                      systemErrorReason(rows.openError())});
            }
            return;
        }
        checkDataFolderName(ShiftJis::decode(definition.FileName) + QStringLiteral(".TBL"));
        const int columns = definition.usableColumnCount();
        QSet<int> hiddenColumns;
        QSet<QString> pictures;
        QSet<QString> backgrounds;
        QSet<QString> links;
        bool usesImages = false;
        TableRowRecord record;
        while (rows.next(record)) {
            for (int c = columns + 1; c <= TableRowRecord::MaxColumns; ++c) {
                if (!record.CellTexts[static_cast<std::size_t>(c)].isEmpty() && !hiddenColumns.contains(c)) {
                    hiddenColumns.insert(c);
                }
            }
            for (int c = 1; c <= columns; ++c) {
                const auto i = static_cast<std::size_t>(c);
                usesImages =
                    usesImages || !record.CellPictures[i].isEmpty() || !record.CellBackgrounds[i].isEmpty();
                checkImage(record.CellPictures[i], pictures, FindingKind::PictureMissing);
                checkImage(record.CellBackgrounds[i], backgrounds, FindingKind::BackgroundMissing);
                checkLink(record.CellLinks[i], links);
            }
        }
        if (usesImages) {
            checkServerImagePath();
        }
        if (!hiddenColumns.isEmpty()) {
            QList<int> sorted(hiddenColumns.begin(), hiddenColumns.end());
            std::sort(sorted.begin(), sorted.end());
            QStringList names;
            for (const int c : sorted) {
                names.append(QString::number(c));
            }
            tell({FindingKind::HiddenText, {}, {}, names, columns});
        }
    }

    /// A data file or snippet body named in several ways, or only in Shift-JIS.
    void checkDataFolderName(const QString& name) {
        const StoredNameMatch match = matchStoredName(m_dataFolder, name);
        if (match.inShiftJis() || match.ambiguous()) {
            checkNameOnDisk(match, name);
        }
    }

    void checkImage(const QByteArray& path, QSet<QString>& seen, FindingKind missing) {
        if (path.isEmpty()) {
            return;
        }
        const QString name = ShiftJis::decode(fileNamePart(path));
        if (seen.contains(name)) {
            return;
        }
        seen.insert(name);
        if (isRelativeWithBackslash(path)) {
            tell({FindingKind::BackslashInPath, ShiftJis::decode(path)});
        }
        const StoredNameMatch match = matchStoredName(m_imageFolder, name);
        if (name.isEmpty() || !match.found()) {
            tell({missing, name});
            return;
        }
        checkNameOnDisk(match, name);
    }

    /// A file found under another name than the stored one: a name in Shift-JIS, another letter case
    /// (which a case-sensitive web server would not find), or several files of the name.
    void checkNameOnDisk(const StoredNameMatch& match, const QString& name) {
        if (match.inShiftJis()) {
            tell({FindingKind::NameInShiftJis, name});
        } else if (match.differs) {
            tell({FindingKind::NameCaseDiffers, name, match.nameOnDisk()});
        }
        if (match.ambiguous()) {
            QStringList names;
            for (const QByteArray& onDisk : match.names) {
                names.append(decodeNameOnDisk(onDisk));
            }
            tell({FindingKind::NameAmbiguous, name, match.nameOnDisk(), names});
        }
    }

    /// A width in pixels (digits alone) wider than a phone's screen, on a table that does not scroll.
    void checkWidth(const TableDefinition& definition) {
        constexpr int PhoneWidth = 360;
        const QByteArray& width = definition.TableWidth;
        const bool pixels = !width.isEmpty() && std::all_of(width.begin(), width.end(),
                                                            [](char c) { return c >= '0' && c <= '9'; });
        if (pixels && width.toInt() > PhoneWidth && !definition.ScrollOnSmallScreens) {
            tell({FindingKind::WideForPhones, {}, {}, {}, width.toInt()});
        }
    }

    void checkLink(const QByteArray& bytes, QSet<QString>& seen) {
        const QString link = ShiftJis::decode(bytes);
        const std::optional<QString> page = localPageOf(link);
        if (seen.contains(link)) {
            return;
        }
        seen.insert(link);
        if (holdsBackslash(bytes)) {
            tell({FindingKind::BackslashInPath, link});
        }
        if (!page || m_pagesWritten.contains(QDir::cleanPath(*page))) {
            return;
        }
        if (!isPathOfThisSystem(m_htmlFolder) ||
            !QFileInfo(resolveStoredPath(m_htmlFolder + *page)).isFile()) {
            tell({FindingKind::LocalPageMissing, link});
        }
    }

    /// Only judged when the image folder lies inside the HTML folder and the path is relative to the
    /// page; a path from the site's root or another site cannot be followed here.
    void checkServerImagePath() {
        if (m_serverImagePathChecked.has_value()) {
            if (!*m_serverImagePathChecked) {
                tell(m_serverImagePathFinding);
            }
            return;
        }
        m_serverImagePathChecked = true;
        const QString html = cleanFolder(m_htmlFolder);
        const QString images = cleanFolder(m_imageFolder);
        if (!images.startsWith(html) || hasScheme(m_serverImagePath) ||
            m_serverImagePath.startsWith(QLatin1Char('/'))) {
            return;
        }
        const QString expected = images.mid(html.size());
        QString given = m_serverImagePath;
        while (given.startsWith(QStringLiteral("./"))) {
            given.remove(0, 2);
        }
        if (!given.isEmpty() && !given.endsWith(QLatin1Char('/'))) {
            given += QLatin1Char('/');
        }
        if (given != expected) {
            m_serverImagePathChecked = false;
            m_serverImagePathFinding = {FindingKind::ServerImagePath, m_serverImagePath, expected};
            tell(m_serverImagePathFinding);
        }
    }

    QString m_dataFolder;
    QString m_htmlFolder;
    QString m_imageFolder;
    QString m_serverImagePath;
    PageEncoding m_encoding;
    PageMarkup m_markup;
    QList<PageFinding>& m_findings;
    int m_number = 0;
    QString m_title;
    /// The server image path is judged once per run, and told for every table that shows pictures.
    std::optional<bool> m_serverImagePathChecked;
    Finding m_serverImagePathFinding;
    QSet<QString> m_pagesWritten;
};

} // namespace

std::optional<QList<PageFinding>> CheckPages(const SettingsRecord& settings, const QString& programFolder,
                                             const QList<int>& definitionNumbers, PageEncoding encoding,
                                             PageMarkup markup) {
    QList<PageFinding> findings;
    TableCheck check(settings, encoding, markup, findings);
    const TableDefinitionFile file(programFolder);
    // The pages the same run would write, its own included, are there once it has run.
    QSet<QString> pages;
    for (const int number : definitionNumbers) {
        try {
            if (const std::optional<TableDefinition> definition = file.read(number);
                definition && isUsableStoredFileName(definition->FileName)) {
                pages.insert(ShiftJis::decode(definition->FileName) + QStringLiteral(".html"));
            }
        } catch (const IoError&) {
            // Told below, table by table.
        }
    }
    check.setPagesWritten(std::move(pages));
    for (const int number : definitionNumbers) {
        try {
            const std::optional<TableDefinition> definition = file.read(number);
            if (!definition) {
                return std::nullopt;
            }
            check.check(number, *definition);
        } catch (const IoError& error) {
            findings.append({number, QString(), FindingKind::DefinitionUnreadable, {}, {}, {}, 0, error});
        }
    }
    return findings;
}

} // namespace kelvano
