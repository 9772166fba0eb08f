#pragma once

#include "core/table/csv_exchange.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QTableWidget;

namespace kelvano {

/// Shows the first records of a CSV file with the encoding and separator found, and asks whether its
/// rows are to be added after the table's rows or to replace them.
class CsvPreviewDialog : public QDialog {
    Q_OBJECT

public:
    /// How many records the preview shows.
    static constexpr int PreviewRecords = int(CsvFile::FirstRecordsKept);

    CsvPreviewDialog(const CsvFile& file, int columnCount, QWidget* parent = nullptr);

    /// True when the rows are to be added after the table's rows.
    bool append() const;

    QLabel* FormatLabel;
    QTableWidget* PreviewGrid;
    QRadioButton* AppendButton;
    QRadioButton* ReplaceButton;
};

} // namespace kelvano
