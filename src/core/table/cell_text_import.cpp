#include "core/table/cell_text_import.h"

#include "core/store/shift_jis.h"

namespace kelvano {

QByteArray cutAtCharacter(QByteArrayView text, qsizetype capacity) {
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype width =
            ShiftJis::isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + width > capacity) {
            break;
        }
        end += width;
    }
    return text.first(end).toByteArray();
}

CellTextImporter::CellTextImporter(TextEncoding encoding, int columns, int capacity)
    : m_encoding(encoding), m_columns(columns), m_capacity(capacity) {}

QList<std::optional<QByteArray>> CellTextImporter::convert(const QByteArrayList& fields) {
    const int r = m_row++;
    const qsizetype kept = std::min<qsizetype>(fields.size(), m_columns);
    if (fields.size() > m_columns) {
        m_report.droppedColumns = std::max(m_report.droppedColumns, int(fields.size() - m_columns));
        for (qsizetype f = kept; f < fields.size(); ++f) {
            m_report.droppedFields += fields[f].isEmpty() ? 0 : 1;
        }
    }
    QList<std::optional<QByteArray>> texts;
    texts.reserve(kept);
    for (qsizetype f = 0; f < kept; ++f) {
        const QByteArray& field = fields[f];
        QByteArray bytes;
        bool plain = true; // ASCII is the same in both encodings
        for (const char c : field) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                plain = false;
                break;
            }
        }
        if (plain || m_encoding == TextEncoding::ShiftJis) {
            bytes = field;
        } else {
            ShiftJis::Encoded encoded = ShiftJis::encode(QString::fromUtf8(field));
            if (!encoded.ok()) {
                m_report.unencodableCells.append(QPoint(int(f), r));
                for (const char32_t c : encoded.unencodable.toUcs4()) {
                    const QString character = QString::fromUcs4(&c, 1);
                    if (!m_report.unencodable.contains(character)) {
                        m_report.unencodable += character;
                    }
                }
                texts.append(std::nullopt);
                continue;
            }
            bytes = std::move(encoded.bytes);
        }
        if (bytes.size() > m_capacity) {
            bytes = cutAtCharacter(bytes, m_capacity);
            m_report.cutCells.append(QPoint(int(f), r));
        }
        texts.append(std::move(bytes));
    }
    return texts;
}

CellTextImport importCellTexts(const QList<QByteArrayList>& records, TextEncoding encoding, int columns,
                               int capacity) {
    CellTextImporter importer(encoding, columns, capacity);
    QList<QList<std::optional<QByteArray>>> rows;
    rows.reserve(records.size());
    for (const QByteArrayList& fields : records) {
        rows.append(importer.convert(fields));
    }
    CellTextImport imported = importer.takeReport();
    imported.rows = std::move(rows);
    return imported;
}

} // namespace kelvano
