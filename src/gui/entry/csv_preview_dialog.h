#pragma once

#include "core/table/csv_exchange.h"
#include "core/table/sheet_file.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QRadioButton;
class QTableWidget;

namespace kelvano {

/// Shows the first records of a CSV file with the encoding and separator found, or of a spreadsheet's
/// sheet with the choice of its sheets, and asks whether its rows are to be added after the table's
/// rows or to replace them.
class CsvPreviewDialog : public QDialog {
    Q_OBJECT

public:
    /// How many records the preview shows.
    static constexpr int PreviewRecords = int(CsvFile::FirstRecordsKept);

    CsvPreviewDialog(const CsvFile& file, int columnCount, QWidget* parent = nullptr);
    /// A sheet of a spreadsheet file; choosing another sheet reads it with `readSheet` (its index).
    CsvPreviewDialog(const SheetFile& file, int columnCount, std::function<SheetFile(int)> readSheet,
                     QWidget* parent = nullptr);

    /// The sheet chosen, as read.
    const SheetFile& sheetFile() const { return m_sheet; }

    /// True when the rows are to be added after the table's rows.
    bool append() const;

    QLabel* FormatLabel;
    /// The sheets of a spreadsheet file (null for a CSV file).
    QComboBox* SheetBox = nullptr;
    QTableWidget* PreviewGrid;
    QRadioButton* AppendButton;
    QRadioButton* ReplaceButton;

private:
    void build(const QString& title, QWidget* choice);
    void showRecords(const QList<QByteArrayList>& records, bool utf8);
    void showSheet();

    int m_columnCount;
    SheetFile m_sheet;
    std::function<SheetFile(int)> m_readSheet;
};

} // namespace kelvano
