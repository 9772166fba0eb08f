#include "core/table/column_width_tracker.h"

namespace kelvano {

void ColumnWidthTracker::reset(int columnCount) {
    m_widthCounts.assign(size_t(columnCount), {});
}

void ColumnWidthTracker::add(int column, QByteArrayView text) {
    if (!m_measure || text.isEmpty() || size_t(column) >= m_widthCounts.size()) {
        return;
    }
    ++m_widthCounts[size_t(column)][m_measure(text)];
}

void ColumnWidthTracker::remove(int column, QByteArrayView text) {
    if (!m_measure || text.isEmpty() || size_t(column) >= m_widthCounts.size()) {
        return;
    }
    std::map<int, int>& counts = m_widthCounts[size_t(column)];
    const auto found = counts.find(m_measure(text));
    if (found != counts.end() && --found->second == 0) {
        counts.erase(found);
    }
}

void ColumnWidthTracker::replace(int column, QByteArrayView oldText, QByteArrayView newText) {
    remove(column, oldText);
    add(column, newText);
}

int ColumnWidthTracker::widest(int column) const {
    if (size_t(column) >= m_widthCounts.size() || m_widthCounts[size_t(column)].empty()) {
        return 0;
    }
    return m_widthCounts[size_t(column)].rbegin()->first;
}

} // namespace kelvano
