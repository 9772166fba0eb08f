#pragma once

#include "core/table/delimited_text.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QTableWidget;

namespace kelvano {

/// A CSV or TSV file as read for the editor: its detected format and its records.
struct CsvFile {
    QString path;
    DelimitedFormat format;
    QList<QByteArrayList> records; ///< fields in the file's encoding

    /// Reads a file and finds its format; an IoError when it cannot be read.
    static CsvFile read(const QString& path);
};

/// Shows the first records of a CSV file with the encoding and separator found, and asks whether its
/// rows are to be added after the table's rows or to replace them.
class CsvPreviewDialog : public QDialog {
    Q_OBJECT

public:
    /// How many records the preview shows.
    static constexpr int PreviewRecords = 10;

    CsvPreviewDialog(const CsvFile& file, int columnCount, QWidget* parent = nullptr);

    /// True when the rows are to be added after the table's rows.
    bool append() const;

    QLabel* FormatLabel;
    QTableWidget* PreviewGrid;
    QRadioButton* AppendButton;
    QRadioButton* ReplaceButton;
};

} // namespace kelvano
