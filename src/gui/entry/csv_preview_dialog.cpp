#include "gui/entry/csv_preview_dialog.h"

#include "core/store/shift_jis.h"
#include "gui/base/form_layout.h"

#include <QDialogButtonBox>
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

CsvPreviewDialog::CsvPreviewDialog(const CsvFile& file, int columnCount, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CsvPreview"));
    setWindowTitle(QStringLiteral("CSVを読み込む"));
    FormLayout::setFormFont(this);
    resize(560, 360);

    const bool utf8 = file.format.encoding == TextEncoding::Utf8;
    FormatLabel = new QLabel(this);
    FormatLabel->setObjectName(QStringLiteral("FormatLabel"));
    FormatLabel->setText(QStringLiteral("文字コード: %1　区切り: %2　行数: %3")
                             .arg(utf8 ? (file.format.byteOrderMark ? QStringLiteral("UTF-8 (BOM付き)")
                                                                    : QStringLiteral("UTF-8"))
                                       : QStringLiteral("Shift-JIS"))
                             .arg(separatorName(file.format.separator))
                             .arg(file.records.size()));

    // The first records as the table's columns will take them; fields past the last column are greyed.
    const qsizetype shown = std::min<qsizetype>(file.records.size(), PreviewRecords);
    int width = columnCount;
    for (qsizetype r = 0; r < shown; ++r) {
        width = std::max(width, static_cast<int>(file.records[r].size()));
    }
    PreviewGrid = new QTableWidget(int(shown), width, this);
    PreviewGrid->setObjectName(QStringLiteral("PreviewGrid"));
    PreviewGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PreviewGrid->setTabKeyNavigation(false);
    QStringList headings;
    for (int column = 0; column < width; ++column) {
        headings.append(QStringLiteral("列%1").arg(column + 1));
    }
    PreviewGrid->setHorizontalHeaderLabels(headings);
    for (qsizetype r = 0; r < shown; ++r) {
        const QByteArrayList& fields = file.records[r];
        for (qsizetype f = 0; f < fields.size(); ++f) {
            auto* item =
                new QTableWidgetItem(utf8 ? QString::fromUtf8(fields[f]) : ShiftJis::decode(fields[f]));
            if (f >= columnCount) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
            PreviewGrid->setItem(int(r), int(f), item);
        }
    }

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
    layout->addWidget(FormatLabel);
    layout->addWidget(PreviewGrid, 1);
    layout->addWidget(AppendButton);
    layout->addWidget(ReplaceButton);
    layout->addWidget(buttons);
}

bool CsvPreviewDialog::append() const {
    return AppendButton->isChecked();
}

} // namespace kelvano
