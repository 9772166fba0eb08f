// Reading an .ods spreadsheet's sheet (OpenDocument): the number styles of its cell styles, every
// table's name, and one table's cells as shown, repeated rows and columns expanded within the bounds.

#include "core/table/sheet_cells.h"
#include "core/table/sheet_number_format.h"

#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>

namespace kelvano::sheets {
namespace {

const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString StyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString NumberNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0");

/// A repeat count: 1 when missing or not a positive number.
qint64 repeats(const QXmlStreamReader& xml, QLatin1StringView name) {
    bool ok = false;
    const qint64 count = xml.attributes().value(TableNs, name).toLongLong(&ok);
    return ok && count > 0 ? count : 1;
}

/// A number style written as a number format code, and its conditions: "value()>=0" choosing another
/// style for the values that are not negative.
struct DataStyle {
    QString code;
    QString positiveStyle;
};

/// The number styles and cell styles of content.xml and styles.xml.
struct Styles {
    QHash<QString, DataStyle> data;
    QHash<QString, std::pair<QString, QString>> cells; ///< cell style -> data style, parent style

    QString codeOf(const QString& cellStyle) const {
        QString name = cellStyle;
        for (int depth = 0; depth < 8 && !name.isEmpty(); ++depth) {
            const auto found = cells.constFind(name);
            if (found == cells.constEnd()) {
                return {};
            }
            if (!found->first.isEmpty()) {
                const DataStyle style = data.value(found->first);
                const auto positive = data.constFind(style.positiveStyle);
                return positive != data.constEnd() ? positive->code + u';' + style.code : style.code;
            }
            name = found->second;
        }
        return {};
    }

    void quote(QString& code, QStringView text, bool percent) const {
        for (const QChar c : text) {
            if (percent && c == u'%') {
                code += c;
            } else if (c == u'"') {
                code += QStringLiteral("\\\"");
            } else {
                code += u'"' + QString(c) + u'"';
            }
        }
    }

    /// Reads one number style element (number:number-style, …) to its end.
    void readDataStyle(QXmlStreamReader& xml) {
        const QString name = xml.attributes().value(StyleNs, QLatin1StringView("name")).toString();
        const bool percent = xml.name() == u"percentage-style";
        DataStyle style;
        int depth = 0;
        while (nextStartElementWithin(xml, depth)) {
            const QStringView element = xml.name();
            const QXmlStreamAttributes a = xml.attributes();
            if (element == u"number") {
                const int integers = a.value(NumberNs, QLatin1StringView("min-integer-digits")).toInt();
                const bool grouping = a.value(NumberNs, QLatin1StringView("grouping")) == u"true";
                QString digits = grouping ? QStringLiteral("#,##") : QString();
                digits += integers > 0 ? QString(integers, u'0') : QStringLiteral("#");
                const int decimals = a.value(NumberNs, QLatin1StringView("decimal-places")).toInt();
                bool hasMin = false;
                const int minDecimals =
                    a.value(NumberNs, QLatin1StringView("min-decimal-places")).toInt(&hasMin);
                if (decimals > 0) {
                    digits += u'.' + QString(hasMin ? minDecimals : decimals, u'0') +
                              QString(hasMin ? std::max(0, decimals - minDecimals) : 0, u'#');
                }
                style.code += digits;
            } else if (element == u"text" || element == u"currency-symbol") {
                quote(style.code, xml.readElementText(QXmlStreamReader::IncludeChildElements), percent);
                --depth;
            } else if (element == u"year" || element == u"day" || element == u"era") {
                style.code += element == u"year" ? QStringLiteral("yyyy") : QStringLiteral("dd");
            } else if (element == u"month") {
                style.code += QStringLiteral("mm");
            } else if (element == u"hours" || element == u"seconds") {
                style.code += element == u"hours" ? QStringLiteral("h") : QStringLiteral("ss");
            } else if (element == u"minutes") {
                style.code += style.code.contains(u'h') ? QStringLiteral("mm") : QStringLiteral("[mm]");
            } else if (element == u"scientific-number" || element == u"fraction") {
                style.code += QStringLiteral("0E+0"); // shown as the shortest decimal
            } else if (element == u"map" &&
                       a.value(StyleNs, QLatin1StringView("condition")) == u"value()>=0") {
                style.positiveStyle = a.value(StyleNs, QLatin1StringView("apply-style-name")).toString();
            }
        }
        data.insert(name, style);
    }

    /// Reads the styles of a part up to its body, or of the whole part.
    void read(QXmlStreamReader& xml, bool toBody) {
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (toBody && xml.name() == u"body") {
                return;
            }
            if (xml.namespaceUri() == NumberNs && xml.name().endsWith(u"-style")) {
                readDataStyle(xml);
            } else if (xml.name() == u"style" && xml.namespaceUri() == StyleNs &&
                       xml.attributes().value(StyleNs, QLatin1StringView("family")) == u"table-cell") {
                const QXmlStreamAttributes a = xml.attributes();
                cells.insert(a.value(StyleNs, QLatin1StringView("name")).toString(),
                             {a.value(StyleNs, QLatin1StringView("data-style-name")).toString(),
                              a.value(StyleNs, QLatin1StringView("parent-style-name")).toString()});
            }
        }
    }
};

/// The text of a cell's paragraphs, joined by line breaks: spaces (text:s), tabs and line breaks as
/// they stand; annotations and drawings left out. Reads to the cell's end.
QString paragraphs(QXmlStreamReader& xml) {
    QString text;
    bool first = true;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView element = xml.name();
            if (xml.namespaceUri() != TextNs) {
                xml.skipCurrentElement(); // annotations, frames, shapes
                continue;
            }
            ++depth;
            if (element == u"p" || element == u"h") {
                if (!first) {
                    text += u'\n';
                }
                first = false;
            } else if (element == u"s") {
                text += QString(
                    std::clamp(xml.attributes().value(TextNs, QLatin1StringView("c")).toInt(), 1, 1024),
                    u' ');
            } else if (element == u"tab") {
                text += u'\t';
            } else if (element == u"line-break") {
                text += u'\n';
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::Characters && depth > 1) {
            text += xml.text();
        }
        if (text.size() > SheetFile::FieldBytesRead) {
            text.truncate(SheetFile::FieldBytesRead);
        }
    }
    return text;
}

/// Hours and minutes of a duration such as "PT09H05M00S".
QByteArray durationText(QStringView value) {
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 number = 0;
    bool inTime = false;
    for (const QChar c : value) {
        if (c.isDigit()) {
            number = std::min<qint64>(number * 10 + c.digitValue(), 1'000'000'000);
        } else {
            if (c == u'T') {
                inTime = true;
            } else if (c == u'D') {
                hours += number * 24;
            } else if (c == u'H' && inTime) {
                hours += number;
            } else if (c == u'M' && inTime) {
                minutes += number;
            } else if (c == u'.') {
                break;
            }
            number = 0;
        }
    }
    return timeText(int(hours + minutes / 60), int(minutes % 60));
}

QByteArray cellText(QXmlStreamReader& xml, const QString& code) {
    const QXmlStreamAttributes a = xml.attributes();
    const QStringView type = a.value(OfficeNs, QLatin1StringView("value-type"));
    const QString shown = paragraphs(xml);
    if (type == u"float" || type == u"percentage" || type == u"currency") {
        bool ok = false;
        const double value = a.value(OfficeNs, QLatin1StringView("value")).toDouble(&ok);
        return ok ? numberText(value, code, DateSystem::From1900) : keptText(shown);
    }
    if (type == u"date") {
        const QStringView value = a.value(OfficeNs, QLatin1StringView("date-value"));
        const QStringView date = value.left(value.indexOf(u'T') < 0 ? value.size() : value.indexOf(u'T'));
        const QStringView time = value.indexOf(u'T') < 0 ? QStringView() : value.mid(value.indexOf(u'T') + 1);
        const QList<QStringView> day = date.split(u'-', Qt::SkipEmptyParts);
        if (day.size() != 3) {
            return keptText(shown);
        }
        const bool withTime = !time.isEmpty() && !time.startsWith(u"00:00:00");
        return dateTimeText(day[0].toInt(), day[1].toInt(), day[2].toInt(), time.left(2).toInt(),
                            time.mid(3, 2).toInt(), withTime);
    }
    if (type == u"time") {
        return durationText(a.value(OfficeNs, QLatin1StringView("time-value")));
    }
    if (type == u"boolean") {
        const QStringView value = a.value(OfficeNs, QLatin1StringView("boolean-value"));
        return value == u"true" || value == u"1" ? QByteArrayLiteral("TRUE") : QByteArrayLiteral("FALSE");
    }
    if (type == u"string" && !a.value(OfficeNs, QLatin1StringView("string-value")).isNull()) {
        return keptText(a.value(OfficeNs, QLatin1StringView("string-value")).toString());
    }
    return keptText(shown);
}

/// Reads one table to its end, its cells into `cells` (none when null).
void readTable(QXmlStreamReader& xml, const Styles& styles, Cells* cells) {
    if (cells == nullptr) {
        xml.skipCurrentElement();
        return;
    }
    qint64 row = 0;
    qint64 column = 0;
    QList<std::pair<qint64, QString>> columnStyles; ///< from this column on, this default style
    int depth = 0;
    while (nextStartElementWithin(xml, depth)) {
        const QStringView element = xml.name();
        if (xml.namespaceUri() != TableNs || element == u"table" || element == u"shapes" ||
            element == u"named-expressions") {
            xml.skipCurrentElement();
            --depth;
        } else if (element == u"table-column") {
            const qint64 count = repeats(xml, QLatin1StringView("number-columns-repeated"));
            columnStyles.append(std::pair<qint64, QString>{
                column,
                xml.attributes().value(TableNs, QLatin1StringView("default-cell-style-name")).toString()});
            if (xml.attributes().value(TableNs, QLatin1StringView("visibility")) == u"collapse" ||
                xml.attributes().value(TableNs, QLatin1StringView("visibility")) == u"filter") {
                cells->hideColumn(column);
            }
            column += count;
            xml.skipCurrentElement();
            --depth;
        } else if (element == u"table-row") {
            const qint64 rowCount = repeats(xml, QLatin1StringView("number-rows-repeated"));
            const QStringView visibility = xml.attributes().value(TableNs, QLatin1StringView("visibility"));
            if (visibility == u"collapse" || visibility == u"filter") {
                cells->hideRow(row);
            }
            QList<std::pair<qint64, QByteArray>> texts; ///< a row's cells, then repeated
            qint64 at = 0;
            while (xml.readNextStartElement()) {
                const qint64 count = repeats(xml, QLatin1StringView("number-columns-repeated"));
                if (xml.name() == u"table-cell" && at < SheetFile::FieldsRead) {
                    QString style =
                        xml.attributes().value(TableNs, QLatin1StringView("style-name")).toString();
                    // The column's default style: the last column entry starting at or before it.
                    const auto after =
                        std::upper_bound(columnStyles.cbegin(), columnStyles.cend(), at,
                                         [](qint64 wanted, const std::pair<qint64, QString>& entry) {
                                             return wanted < entry.first;
                                         });
                    if (style.isEmpty() && after != columnStyles.cbegin()) {
                        style = std::prev(after)->second;
                    }
                    const QByteArray text = cellText(xml, styles.codeOf(style));
                    for (qint64 i = 0; !text.isEmpty() && i < count && at + i < SheetFile::FieldsRead; ++i) {
                        texts.append({at + i, text});
                        if (texts.size() > SheetFile::FieldsRead) {
                            throw Refusal{SheetFailure::TooLarge};
                        }
                    }
                } else {
                    xml.skipCurrentElement(); // a cell covered by a merged one shows nothing
                }
                at += count;
            }
            for (qint64 r = 0; !texts.isEmpty() && r < rowCount && row + r < SheetFile::RecordsRead; ++r) {
                for (const auto& [c, text] : texts) {
                    cells->set(row + r, c, text);
                }
            }
            row += rowCount;
            --depth; // read to its end
        }
        // Header rows, row groups, column groups: their rows and columns count, read as they come.
    }
}

} // namespace

void readOds(Archive& archive, const SheetWanted& wanted, ReadSheets& sheets) {
    // A document locked by a password keeps its parts encrypted; the manifest says so in the clear.
    if (archive.readAll(QStringLiteral("META-INF/manifest.xml")).contains("encryption-data")) {
        throw Refusal{SheetFailure::Encrypted};
    }
    Styles styles;
    if (const std::unique_ptr<Part> part = archive.open(QStringLiteral("styles.xml"), false)) {
        QXmlStreamReader xml(part.get());
        styles.read(xml, false);
        part->finish(xml.hasError());
    }
    const std::unique_ptr<Part> part = archive.open(QStringLiteral("content.xml"), true);
    QXmlStreamReader xml(part.get());
    styles.read(xml, true);
    int index = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"table" &&
            xml.namespaceUri() == TableNs) {
            const QString name = xml.attributes().value(TableNs, QLatin1StringView("name")).toString();
            readTable(xml, styles, sheets.cellsFor(index, name, wanted));
            ++index;
        }
    }
    part->finish(xml.hasError());
    if (index == 0 && !xml.hasError()) {
        throw Refusal{SheetFailure::Damaged};
    }
}

} // namespace kelvano::sheets
