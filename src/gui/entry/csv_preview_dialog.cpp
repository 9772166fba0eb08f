#include "gui/entry/csv_preview_dialog.h"

#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvano {
namespace {

QString separatorName(char separator) {
    switch (separator) {
    case '\t':
        return QStringLiteral("タブ");
    case ';':
        return QStringLiteral("セミコロン");
    default:
        return QStringLiteral("カンマ");
    }
}

} // namespace

CsvPreviewDialog::CsvPreviewDialog(const CsvFile& file, int columnCount, QWidget* parent)
    : QDialog(parent), m_columnCount(columnCount) {
    build(QStringLiteral("CSVを読み込む"), nullptr);
    const bool utf8 = file.format.encoding == TextEncoding::Utf8;
    FormatLabel->setText(QStringLiteral("文字コード: %1　区切り: %2　行数: %3")
                             .arg(utf8 ? (file.format.byteOrderMark ? QStringLiteral("UTF-8 (BOM付き)")
                                                                    : QStringLiteral("UTF-8"))
                                       : QStringLiteral("Shift-JIS"))
                             .arg(separatorName(file.format.separator))
                             .arg(file.recordCount));
    showRecords(file.firstRecords, utf8);
}

CsvPreviewDialog::CsvPreviewDialog(const SheetFile& file, int columnCount,
                                   std::function<SheetFile(int)> readSheet, QWidget* parent)
    : QDialog(parent), m_columnCount(columnCount), m_sheet(file), m_readSheet(std::move(readSheet)) {
    SheetBox = new QComboBox(this);
    SheetBox->setObjectName(QStringLiteral("SheetBox"));
    SheetBox->addItems(file.sheetNames);
    SheetBox->setCurrentIndex(file.sheet);
    auto* choice = new QWidget(this);
    auto* row = new QHBoxLayout(choice);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("シート:"), choice);
    label->setBuddy(SheetBox);
    row->addWidget(label);
    row->addWidget(SheetBox, 1);
    build(QStringLiteral("表計算ファイルを読み込む"), choice);
    showSheet();
    connect(SheetBox, &QComboBox::activated, this, [this](int index) {
        SheetFile read = m_readSheet(index);
        if (read.failure == SheetFailure::None) {
            m_sheet = std::move(read);
        }
        SheetBox->setCurrentIndex(m_sheet.sheet);
        showSheet();
    });
}

void CsvPreviewDialog::showSheet() {
    QString text = QStringLiteral("行数: %1").arg(m_sheet.records.size());
    if (m_sheet.hiddenCells) {
        text += QStringLiteral("　非表示の行・列も読み込みます");
    }
    FormatLabel->setText(text);
    showRecords(m_sheet.records, true);
}

void CsvPreviewDialog::build(const QString& title, QWidget* choice) {
    setObjectName(QStringLiteral("CsvPreview"));
    setWindowTitle(title);
    FormLayout::setFormFont(this);
    resize(560, 360);

    FormatLabel = new QLabel(this);
    FormatLabel->setObjectName(QStringLiteral("FormatLabel"));
    PreviewGrid = new QTableWidget(this);
    PreviewGrid->setObjectName(QStringLiteral("PreviewGrid"));
    PreviewGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PreviewGrid->setTabKeyNavigation(false);

    AppendButton = new QRadioButton(QStringLiteral("今ある行のあとに追加する"), this);
    AppendButton->setObjectName(QStringLiteral("AppendButton"));
    ReplaceButton = new QRadioButton(QStringLiteral("今ある行と置き換える"), this);
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    AppendButton->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("読み込む"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    if (choice != nullptr) {
        layout->addWidget(choice);
    }
    layout->addWidget(FormatLabel);
    layout->addWidget(PreviewGrid, 1);
    layout->addWidget(AppendButton);
    layout->addWidget(ReplaceButton);
    layout->addWidget(buttons);
}

void CsvPreviewDialog::showRecords(const QList<QByteArrayList>& records, bool utf8) {
    // The first records as the table's columns will take them; fields past the last column are greyed.
    const qsizetype shown = std::min<qsizetype>(records.size(), PreviewRecords);
    int width = m_columnCount;
    for (qsizetype r = 0; r < shown; ++r) {
        width = std::max(width, static_cast<int>(records[r].size()));
    }
    PreviewGrid->clear();
    PreviewGrid->setRowCount(int(shown));
    PreviewGrid->setColumnCount(width);
    QStringList headings;
    for (int column = 0; column < width; ++column) {
        headings.append(QStringLiteral("列%1").arg(column + 1));
    }
    PreviewGrid->setHorizontalHeaderLabels(headings);
    for (qsizetype r = 0; r < shown; ++r) {
        const QByteArrayList& fields = records[r];
        for (qsizetype f = 0; f < fields.size(); ++f) {
            auto* item =
                new QTableWidgetItem(utf8 ? QString::fromUtf8(fields[f]) : ShiftJis::decode(fields[f]));
            if (f >= m_columnCount) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
            PreviewGrid->setItem(int(r), int(f), item);
        }
    }
}

bool CsvPreviewDialog::append() const {
    return AppendButton->isChecked();
}

} // namespace kelvano
