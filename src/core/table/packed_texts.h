#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace kelvano {

/// The texts of one cell layer of one row, all columns in a single buffer: a row costs one allocation
/// per layer however many columns it has, and a layer whose cells are all empty costs none.
class PackedTexts {
public:
    /// The text of a column (0-based); empty for columns beyond the packed ones.
    QByteArrayView at(int column) const;
    /// Replaces one column's text, keeping the others; at least `columnCount` columns stay packed, and
    /// columns packed beyond it are kept.
    void set(int column, int columnCount, QByteArrayView text);
    /// How many columns are packed (0 when every column is empty).
    int count() const;
    /// True when every column is empty.
    bool isEmpty() const { return m_data.isEmpty(); }
    bool operator==(const PackedTexts&) const = default;

    /// Packs `columnCount` texts, `textOf(column)` giving each one.
    template <typename TextOf> static PackedTexts build(int columnCount, TextOf textOf) {
        qsizetype total = 0;
        for (int column = 0; column < columnCount; ++column) {
            total += QByteArrayView(textOf(column)).size();
        }
        PackedTexts packed;
        if (total == 0) {
            return packed;
        }
        packed.m_data.resize(headerSize(columnCount) + total);
        packed.writeCount(columnCount);
        qsizetype end = 0;
        for (int column = 0; column < columnCount; ++column) {
            const QByteArrayView text(textOf(column));
            packed.writeText(columnCount, column, end, text);
            end += text.size();
        }
        return packed;
    }

private:
    // Layout: the column count, then each column's end offset (quint32 each), then the texts back to back.
    static qsizetype headerSize(int columnCount) { return qsizetype(sizeof(quint32)) * (columnCount + 1); }
    quint32 readWord(int index) const;
    void writeCount(int columnCount);
    void writeText(int columnCount, int column, qsizetype start, QByteArrayView text);

    QByteArray m_data;
};

} // namespace kelvano
