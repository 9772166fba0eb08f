// Reading an .xlsx workbook's sheet (Office Open XML, transitional and strict): the workbook's sheets,
// its shared strings, the number formats of its cell formats, and one sheet's cells as shown.

#include "core/table/sheet_cells.h"
#include "core/table/sheet_number_format.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

namespace kelvano::sheets {
namespace {

/// The format codes of the number formats built into every spreadsheet of this format, by id; the ones
/// of dates and times only need to say which they are.
QString builtInFormat(int id) {
    switch (id) {
    case 1:
        return QStringLiteral("0");
    case 2:
        return QStringLiteral("0.00");
    case 3:
    case 37:
    case 38:
        return QStringLiteral("#,##0");
    case 4:
    case 39:
    case 40:
        return QStringLiteral("#,##0.00");
    case 9:
        return QStringLiteral("0%");
    case 10:
        return QStringLiteral("0.00%");
    case 14:
    case 15:
    case 16:
    case 17:
        return QStringLiteral("yyyy/mm/dd");
    case 18:
    case 19:
    case 20:
    case 21:
    case 45:
    case 46:
    case 47:
        return QStringLiteral("h:mm");
    case 22:
        return QStringLiteral("yyyy/mm/dd h:mm");
    default:
        break;
    }
    // The East Asian built-in formats: dates (27 to 31, 34 to 36, 50 to 58) and times (32, 33).
    if ((id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58)) {
        return QStringLiteral("yyyy/mm/dd");
    }
    if (id == 32 || id == 33) {
        return QStringLiteral("h:mm");
    }
    return {};
}

/// The value of the attribute of this local name, in whichever namespace.
QString attribute(const QXmlStreamReader& xml, QStringView name) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == name) {
            return a.value().toString();
        }
    }
    return {};
}

/// The relationship id of an element (r:id), the attribute "id" of a namespace.
QString relationshipId(const QXmlStreamReader& xml) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == u"id" && !a.namespaceUri().isEmpty()) {
            return a.value().toString();
        }
    }
    return {};
}

/// Parses a part with `onElement` called on each start element; the part is checked whole.
template <typename OnElement>
void parse(Archive& archive, const QString& name, bool required, OnElement onElement) {
    const std::unique_ptr<Part> part = archive.open(name, required);
    if (!part) {
        return;
    }
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            onElement(xml);
        }
    }
    part->finish(xml.hasError());
}

/// The relationships of a part: id to the target's name in the archive.
QHash<QString, QString> relationships(Archive& archive, const QString& partName) {
    const QString folder = partName.section(u'/', 0, -2);
    const QString relsName = (folder.isEmpty() ? QString() : folder + u'/') + QStringLiteral("_rels/") +
                             partName.section(u'/', -1) + QStringLiteral(".rels");
    QHash<QString, QString> targets;
    parse(archive, relsName, false, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"Relationship" && attribute(xml, u"TargetMode") != u"External") {
            const QString target = attribute(xml, u"Target");
            const QString path = target.startsWith(u'/') ? target.mid(1)
                                 : folder.isEmpty()      ? target
                                                         : folder + u'/' + target;
            targets.insert(attribute(xml, u"Id"), QDir::cleanPath(path));
            targets.insert(QStringLiteral("type:") + attribute(xml, u"Type").section(u'/', -1),
                           QDir::cleanPath(path));
        }
    });
    return targets;
}

/// The text of a string item (<si>, <is>): its <t> and the <t> of its runs, without the phonetic
/// readings (<rPh>). Reads to the item's end.
QString itemText(QXmlStreamReader& xml) {
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh" || xml.name() == u"phoneticPr") {
                xml.skipCurrentElement();
            } else if (xml.name() == u"t") {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return text;
}

/// Column (from 0) and row (from 0) of a reference such as "AB12"; -1 for a part missing.
std::pair<qint64, qint64> cellAddress(QStringView reference) {
    qint64 column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter() && column < (qint64(1) << 40); ++i) {
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    }
    bool ok = false;
    const qint64 row = reference.mid(i).toLongLong(&ok);
    return {i == 0 ? -1 : column - 1, ok ? row - 1 : -1};
}

struct Workbook {
    QStringList names;
    QStringList parts;
    DateSystem dates = DateSystem::From1900;
    QList<QByteArray> strings;
    QList<QString> cellFormats; ///< format code by cell format (xf) index
};

QByteArray cellText(QStringView type, const QString& value, const QString& inlineText, const QString& format,
                    const Workbook& book) {
    if (type == u"s") {
        bool ok = false;
        const qsizetype index = value.toLongLong(&ok);
        if (!ok || index < 0 || index >= book.strings.size()) {
            throw Refusal{SheetFailure::Damaged};
        }
        return book.strings[index];
    }
    if (type == u"inlineStr") {
        return keptText(inlineText);
    }
    if (type == u"str" || type == u"e") {
        return keptText(value); // a formula's text result, an error as shown ("#DIV/0!")
    }
    if (type == u"b") {
        return value.trimmed() == u"1" ? QByteArrayLiteral("TRUE")
               : value.isEmpty()       ? QByteArray()
                                       : QByteArrayLiteral("FALSE");
    }
    if (type == u"d") {
        // An ISO 8601 date and time: yyyy-mm-ddThh:mm:ss.
        const QString date = value.section(u'T', 0, 0);
        const QString time = value.section(u'T', 1);
        const bool withTime = !time.isEmpty() && !time.startsWith(QStringLiteral("00:00:00"));
        return dateTimeText(date.section(u'-', 0, 0).toInt(), date.section(u'-', 1, 1).toInt(),
                            date.section(u'-', 2, 2).toInt(), time.section(u':', 0, 0).toInt(),
                            time.section(u':', 1, 1).toInt(), withTime);
    }
    if (value.trimmed().isEmpty()) {
        return {};
    }
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    return ok ? numberText(number, format, book.dates) : keptText(value);
}

void readSheet(Archive& archive, const QString& name, const Workbook& book, Cells& cells) {
    qint64 nextRow = 0;
    qint64 row = 0;
    qint64 nextColumn = 0;
    parse(archive, name, true, [&](QXmlStreamReader& xml) {
        const QStringView element = xml.name();
        if (element == u"row") {
            bool ok = false;
            const qint64 number = attribute(xml, u"r").toLongLong(&ok);
            row = ok ? number - 1 : nextRow;
            nextRow = row + 1;
            nextColumn = 0;
            const QString hidden = attribute(xml, u"hidden");
            if (hidden == u"1" || hidden == u"true") {
                cells.hideRow(row);
            }
        } else if (element == u"col") {
            const QString hidden = attribute(xml, u"hidden");
            if (hidden == u"1" || hidden == u"true") {
                cells.hideColumn(attribute(xml, u"min").toLongLong() - 1);
            }
        } else if (element == u"c") {
            const QString reference = attribute(xml, u"r");
            qint64 column = nextColumn;
            if (!reference.isEmpty()) {
                const auto [c, r] = cellAddress(reference);
                column = c >= 0 ? c : nextColumn;
                row = r >= 0 ? r : row;
            }
            nextColumn = column + 1;
            const QString type = attribute(xml, u"t");
            bool ok = false;
            const qsizetype style = attribute(xml, u"s").toLongLong(&ok);
            const QString format =
                ok && style >= 0 && style < book.cellFormats.size() ? book.cellFormats[style] : QString();
            QString value;
            QString inlineText;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v") {
                    value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else if (xml.name() == u"is") {
                    inlineText = itemText(xml);
                } else {
                    xml.skipCurrentElement(); // the formula itself: its cached result is <v>
                }
            }
            cells.set(row, column, cellText(type, value, inlineText, format, book));
        } else if (element == u"mergeCell") {
            const QString range = attribute(xml, u"ref");
            const auto [firstColumn, firstRow] = cellAddress(range.section(u':', 0, 0));
            const auto [lastColumn, lastRow] = cellAddress(range.section(u':', 1, 1));
            cells.clearMerged(firstRow, firstColumn, lastRow, lastColumn);
        }
    });
}

} // namespace

void readXlsx(Archive& archive, const SheetWanted& wanted, ReadSheets& sheets) {
    const QHash<QString, QString> package = relationships(archive, QString());
    const QString workbookPart = package.value(QStringLiteral("type:officeDocument"));
    if (workbookPart.isEmpty() || !archive.contains(workbookPart)) {
        throw Refusal{SheetFailure::NotASpreadsheet};
    }
    const QHash<QString, QString> parts = relationships(archive, workbookPart);
    Workbook book;
    parse(archive, workbookPart, true, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"workbookPr") {
            const QString system = attribute(xml, u"date1904");
            book.dates = system == u"1" || system == u"true" ? DateSystem::From1904 : DateSystem::From1900;
        } else if (xml.name() == u"sheet") {
            book.names.append(attribute(xml, u"name"));
            book.parts.append(parts.value(relationshipId(xml)));
        }
    });
    if (book.names.isEmpty()) {
        throw Refusal{SheetFailure::Damaged};
    }
    parse(archive, parts.value(QStringLiteral("type:sharedStrings")), false, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"si") {
            if (book.strings.size() >= SheetFile::FieldsRead) {
                throw Refusal{SheetFailure::TooLarge};
            }
            book.strings.append(keptText(itemText(xml)));
        }
    });
    QHash<int, QString> codes;
    bool inCellFormats = false;
    parse(archive, parts.value(QStringLiteral("type:styles")), false, [&](QXmlStreamReader& xml) {
        if (xml.name() == u"numFmt") {
            codes.insert(attribute(xml, u"numFmtId").toInt(), attribute(xml, u"formatCode"));
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (xml.name() == u"cellStyleXfs" || xml.name() == u"dxfs") {
            inCellFormats = false;
        } else if (xml.name() == u"xf" && inCellFormats && book.cellFormats.size() < SheetFile::FieldsRead) {
            const int id = attribute(xml, u"numFmtId").toInt();
            book.cellFormats.append(codes.contains(id) ? codes.value(id) : builtInFormat(id));
        }
    });
    for (int index = 0; index < book.names.size(); ++index) {
        if (Cells* cells = sheets.cellsFor(index, book.names[index], wanted)) {
            readSheet(archive, book.parts[index], book, *cells);
        }
    }
}

} // namespace kelvano::sheets
