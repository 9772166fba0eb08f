#include "core/table/packed_texts.h"

#include <QList>
#include <algorithm>
#include <cstring>

namespace kelvano {

quint32 PackedTexts::readWord(int index) const {
    quint32 word = 0;
    std::memcpy(&word, m_data.constData() + sizeof(quint32) * index, sizeof word);
    return word;
}

void PackedTexts::writeCount(int columnCount) {
    const quint32 count = static_cast<quint32>(columnCount);
    std::memcpy(m_data.data(), &count, sizeof count);
}

void PackedTexts::writeText(int columnCount, int column, qsizetype start, QByteArrayView text) {
    const quint32 end = static_cast<quint32>(start + text.size());
    std::memcpy(m_data.data() + sizeof(quint32) * (column + 1), &end, sizeof end);
    if (!text.isEmpty()) {
        std::memcpy(m_data.data() + headerSize(columnCount) + start, text.data(), size_t(text.size()));
    }
}

int PackedTexts::count() const {
    return m_data.isEmpty() ? 0 : static_cast<int>(readWord(0));
}

QByteArrayView PackedTexts::at(int column) const {
    if (m_data.isEmpty() || column < 0) {
        return {};
    }
    const int count = this->count();
    if (column >= count) {
        return {};
    }
    const quint32 start = column == 0 ? 0 : readWord(column);
    const quint32 end = readWord(column + 1);
    return QByteArrayView(m_data.constData() + headerSize(count) + start, end - start);
}

void PackedTexts::set(int column, int columnCount, QByteArrayView text) {
    if (at(column) == text) {
        return;
    }
    // The new buffer is built before the old one goes, so `text` may point into it.
    *this = build(std::max(columnCount, count()),
                  [this, column, text](int c) { return c == column ? text : at(c); });
}

} // namespace kelvano
