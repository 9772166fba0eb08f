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

CellTextImport importCellTexts(const QList<QByteArrayList>& records, TextEncoding encoding, int columns,
                               int capacity) {
    CellTextImport imported;
    imported.rows.reserve(records.size());
    for (qsizetype r = 0; r < records.size(); ++r) {
        const QByteArrayList& fields = records[r];
        const qsizetype kept = std::min<qsizetype>(fields.size(), columns);
        if (fields.size() > columns) {
            imported.droppedColumns = std::max(imported.droppedColumns, int(fields.size() - columns));
            for (qsizetype f = kept; f < fields.size(); ++f) {
                imported.droppedFields += fields[f].isEmpty() ? 0 : 1;
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
            if (plain || encoding == TextEncoding::ShiftJis) {
                bytes = field;
            } else {
                ShiftJis::Encoded encoded = ShiftJis::encode(QString::fromUtf8(field));
                if (!encoded.ok()) {
                    imported.unencodableCells.append(QPoint(int(f), int(r)));
                    for (const char32_t c : encoded.unencodable.toUcs4()) {
                        const QString character = QString::fromUcs4(&c, 1);
                        if (!imported.unencodable.contains(character)) {
                            imported.unencodable += character;
                        }
                    }
                    texts.append(std::nullopt);
                    continue;
                }
                bytes = std::move(encoded.bytes);
            }
            if (bytes.size() > capacity) {
                bytes = cutAtCharacter(bytes, capacity);
                imported.cutCells.append(QPoint(int(f), int(r)));
            }
            texts.append(std::move(bytes));
        }
        imported.rows.append(std::move(texts));
    }
    return imported;
}

} // namespace kelvano
