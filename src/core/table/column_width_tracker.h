#pragma once

#include <QByteArrayView>
#include <functional>
#include <map>
#include <vector>

namespace kelvano {

/// The widest text of each column, kept up to date as cells change, so that sizing the columns after
/// a typed character does not measure every text of the table again. Each column keeps how many of its
/// texts have each width; empty texts are not counted.
class ColumnWidthTracker {
public:
    using Measure = std::function<int(QByteArrayView)>;

    /// Without a measure every width is 0.
    void setMeasure(Measure measure) { m_measure = std::move(measure); }
    bool hasMeasure() const { return bool(m_measure); }

    void reset(int columnCount);
    void add(int column, QByteArrayView text);
    void remove(int column, QByteArrayView text);
    void replace(int column, QByteArrayView oldText, QByteArrayView newText);
    /// The width of the column's widest text; 0 when all are empty.
    int widest(int column) const;

private:
    Measure m_measure;
    std::vector<std::map<int, int>> m_widthCounts;
};

} // namespace kelvano
