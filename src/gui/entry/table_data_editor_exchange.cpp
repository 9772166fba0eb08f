#include "gui/entry/table_data_editor.h"

#include "core/store/shift_jis.h"
#include "core/store/table_definition_file.h"
#include "core/table/cell_text_import.h"
#include "core/table/csv_exchange.h"
#include "core/table/delimited_text.h"
#include "core/table/sheet_file.h"
#include "core/table/table_data_model.h"
#include "gui/base/user_dialogs.h"
#include "gui/entry/csv_preview_dialog.h"
#include "gui/entry/row_changes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTableView>
#include <QUndoStack>
#include <limits>

// The table data editor's exchange with other programs: the clipboard, CSV files and spreadsheets.

namespace kelvano {

QRect TForm5::selectedCells() const {
    const QItemSelection selection = StringGrid1->selectionModel()->selection();
    if (selection.isEmpty()) {
        const QModelIndex current = StringGrid1->currentIndex();
        return current.isValid() ? QRect(current.column(), current.row(), 1, 1) : QRect();
    }
    QRect cells;
    for (const QItemSelectionRange& range : selection) {
        cells |= QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
    }
    return cells;
}

void TForm5::CopyCells() {
    const QRect cells = selectedCells();
    if (cells.isEmpty()) {
        return;
    }
    QList<QByteArrayList> records;
    QString html = QStringLiteral("<table>");
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        QByteArrayList fields;
        html += QStringLiteral("<tr>");
        for (int column = cells.left(); column <= cells.right(); ++column) {
            const QString text = shiftJisText(m_model->layers().text(row, column));
            fields.append(text.toUtf8());
            html += QStringLiteral("<td>") +
                    text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                    QStringLiteral("</td>");
        }
        records.append(fields);
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(DelimitedText::format(records, '\t', "\n")));
    data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TForm5::CutCells() {
    CopyCells();
    ClearCells();
}

void TForm5::ClearCells() {
    const QRect cells = selectedCells();
    if (cells.isEmpty()) {
        return;
    }
    const QList<std::optional<QByteArray>> empty(cells.width(), QByteArray());
    std::vector<TableLayers::Row> rows = m_model->rows(cells.top(), cells.height());
    for (TableLayers::Row& row : rows) {
        row = m_model->layers().withTexts(row, cells.left(), empty);
    }
    replaceRowsStep(cells.top(), cells.height(), std::move(rows));
    DrawCellMarkers();
}

void TForm5::PasteCells() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasText()) {
        PasteText(data->text());
    }
}

void TForm5::PasteText(const QString& text) {
    const QRect cells = selectedCells();
    if (cells.isEmpty()) {
        return;
    }
    const int top = cells.top();
    const int left = cells.left();
    const QList<QByteArrayList> records = DelimitedText::parse(text.toUtf8(), '\t');
    if (records.isEmpty()) {
        return;
    }
    CellTextImport imported = importCellTexts(records, TextEncoding::Utf8, m_model->columnCount() - left,
                                              TableRowRecord::CellCapacity);
    // Rows past the limit are left out; the message says so.
    const bool rowLimit = top + imported.rows.size() > TableLayers::MaxRows;
    if (rowLimit) {
        imported.rows.resize(TableLayers::MaxRows - top);
    }
    const int pasted = static_cast<int>(imported.rows.size());
    const int existing = std::min(pasted, m_model->rowCount() - top);
    std::vector<TableLayers::Row> rows = m_model->rows(top, existing);
    rows.resize(size_t(pasted));
    for (int i = 0; i < pasted; ++i) {
        rows[size_t(i)] = m_model->layers().withTexts(rows[size_t(i)], left, imported.rows[i]);
    }
    replaceRowsStep(top, existing, std::move(rows));
    DrawCellMarkers();
    reportImport(imported, top, left, rowLimit);
}

void TForm5::CsvRead1Click() {
    closeCellEditor();
    const QString path = m_csvPrompts.fileToRead(this);
    if (path.isEmpty()) {
        return;
    }
    const CsvFile file = CsvFile::read(path);
    if (file.refusal) {
        UserDialogs::show(this, MessageIcon::Error, Messages::csvRefusalText(*file.refusal));
        return;
    }
    const std::optional<bool> append = m_csvPrompts.confirmImport(this, file, m_model->columnCount());
    // Replacing the rows by an empty file's none is more likely a wrong file than a wish: asked first.
    if (append && !*append && file.recordCount == 0 &&
        !UserDialogs::askYesNo(this, MessageIcon::Warning, Messages::CsvEmptyReplaces, Answer::No)) {
        return;
    }
    if (append) {
        ImportCsv(file, *append);
    }
}

void TForm5::SheetRead1Click() {
    closeCellEditor();
    const QString path = m_csvPrompts.sheetToRead(this);
    if (path.isEmpty()) {
        return;
    }
    SheetFile file = SheetFile::read(path, SheetChoice{});
    if (file.failure != SheetFailure::None) {
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::sheetFailureText(file.failure, file.missingSheet));
        return;
    }
    const std::optional<bool> append = m_csvPrompts.confirmSheetImport(this, file, m_model->columnCount());
    if (append && !*append && file.records.isEmpty() &&
        !UserDialogs::askYesNo(this, MessageIcon::Warning, Messages::SheetEmptyReplaces, Answer::No)) {
        return;
    }
    if (append) {
        ImportSheet(file, *append);
    }
}

void TForm5::CsvWrite1Click() {
    closeCellEditor();
    const auto [path, encoding] = m_csvPrompts.fileToWrite(this);
    if (!path.isEmpty()) {
        ExportCsv(path, encoding);
    }
}

int TForm5::columnsToImport(int fileColumns, const QString& question) {
    const int shown = m_model->columnCount();
    const int raised = std::min(fileColumns, int(TableDefinition::MaxColumns));
    if (m_document->source().number < 0 || raised <= shown) {
        return shown;
    }
    return UserDialogs::askYesNo(this, MessageIcon::Question, question.arg(fileColumns).arg(raised),
                                 Answer::Yes)
               ? raised
               : shown;
}

bool TForm5::storeColumnCount(int count) {
    // Stored as the table settings store it; a count raised there meanwhile is not lowered.
    const int number = m_document->source().number;
    const TableDefinitionFile definitions(programFolder());
    std::optional<TableDefinition> definition = definitions.read(number);
    if (!definition) {
        UserDialogs::show(this, MessageIcon::Error, Messages::NoTableMaster);
        return false;
    }
    definition->ColumnCount = quint16(std::max(definition->usableColumnCount(), count));
    definitions.write(number, *definition);
    m_document->raiseColumnCount(count);
    emit columnCountStored(number, definition->ColumnCount);
    return true;
}

void TForm5::ImportCsv(const CsvFile& file, bool append) {
    importRecords(ImportedRecords::of(file), append, Messages::CsvColumnsRaise, Messages::CsvImportRefused);
}

void TForm5::ImportSheet(const SheetFile& file, bool append) {
    importRecords(ImportedRecords::of(file.records), append, Messages::SheetColumnsRaise,
                  Messages::SheetImportRefused);
}

void TForm5::importRecords(const ImportedRecords& records, bool append, const QString& columnsQuestion,
                           const QString& refused) {
    const int columns = columnsToImport(
        int(std::min<qsizetype>(records.widest, std::numeric_limits<int>::max())), columnsQuestion);
    const qsizetype count = records.count;
    // The file's records are read one at a time into the rows they become; rows past the limit are
    // checked like the others, then left out (the message says so).
    const int rows = m_model->rowCount();
    const int first = rowsKeptByCsvImport(rows, m_model->layers().holdsOnlyAnEmptyRow(), append);
    const bool rowLimit = first + count > TableLayers::MaxRows;
    const qsizetype taken = std::min<qsizetype>(count, TableLayers::MaxRows - first);
    CellTextImporter importer(records.encoding, columns, TableRowRecord::CellCapacity);
    // New rows are made for the columns the file comes in with (more than the table shows when the
    // user raised the count).
    const TableLayers shape(columns);
    std::vector<TableLayers::Row> added;
    added.reserve(size_t(taken));
    const auto next = records.read();
    for (QByteArrayList record; next(record);) {
        const QList<std::optional<QByteArray>> texts = importer.convert(record);
        if (qsizetype(added.size()) < taken) {
            added.push_back(shape.withTexts(TableLayers::Row{}, 0, texts));
        }
    }
    const CellTextImport& imported = importer.report();
    if (csvImportRefused(imported)) {
        UserDialogs::show(this, MessageIcon::Error,
                          Messages::importRefusalLines(imported, refused).join(QLatin1Char('\n')));
        return;
    }
    if (columns > m_model->columnCount() && !storeColumnCount(columns)) {
        return;
    }
    replaceRowsStep(first, rows - first, std::move(added));
    DrawCellMarkers();
    reportImport(imported, first, 0, rowLimit);
}

void TForm5::ExportCsv(const QString& path, TextEncoding encoding) {
    exportCellTexts(path, m_model->layers(), encoding);
}

void TForm5::reportImport(const CellTextImport& imported, int firstRow, int firstColumn, bool rowLimit) {
    QStringList lines;
    if (rowLimit) {
        lines.append(Messages::RowLimitReached);
    }
    if (imported.droppedColumns > 0) {
        lines.append(Messages::ColumnsCutOff.arg(imported.droppedColumns));
    }
    if (!imported.unencodableCells.isEmpty()) {
        lines.append(Messages::CellsNotStored.arg(
            imported.unencodable, Messages::cellNames(imported.unencodableCells, firstRow, firstColumn)));
    }
    if (!imported.cutCells.isEmpty()) {
        lines.append(Messages::CellTextsCut.arg(TableRowRecord::CellCapacity)
                         .arg(Messages::cellNames(imported.cutCells, firstRow, firstColumn)));
    }
    if (!lines.isEmpty()) {
        UserDialogs::show(this, MessageIcon::Error, lines.join(QLatin1Char('\n')));
    }
}

} // namespace kelvano
