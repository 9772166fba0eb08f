#include "words/table_words.h"

namespace kelvano::Messages {

const QString CellTextsCut =
    QStringLiteral("次のセルの文字列は%1バイトを超えるため、文字の切れ目で切り詰めました: %2");
const QString CellTextsUnencodable =
    QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (%1) があります: %2");
const QString CsvImportRefused =
    QStringLiteral("CSVを読み込みませんでした。テーブルデータは変更していません");
const QString SheetImportRefused =
    QStringLiteral("表計算ファイルを読み込みませんでした。テーブルデータは変更していません");

namespace {

/// After a list of cells: how many more there are.
const QString MoreCells = QStringLiteral(" ほか%1セル");
const QString CsvNotText = QStringLiteral("CSVファイルにNULバイトがあります。テキストファイルではありません");
const QString CsvLineNotShiftJis =
    QStringLiteral("CSVファイルの%1行目はShift-JISではありません (UTF-8とShift-JISの行が混ざっています)");
const QString CsvQuoteNotClosed =
    QStringLiteral("CSVファイルの%1行目で始まる引用符 (\") が閉じられていません");

} // namespace

QString cellName(int row, int column) {
    return QStringLiteral("行%1 列%2").arg(row).arg(column);
}

QString cellNames(const QList<QPoint>& cells, int firstRow, int firstColumn, int shown) {
    QStringList names;
    for (qsizetype i = 0; i < cells.size() && i < shown; ++i) {
        names.append(cellName(firstRow + cells[i].y() + 1, firstColumn + cells[i].x() + 1));
    }
    QString text = names.join(QStringLiteral("、"));
    if (cells.size() > shown) {
        text += MoreCells.arg(cells.size() - shown);
    }
    return text;
}

QString csvRefusalText(const CsvRefusal& refusal) {
    switch (refusal.kind) {
    case CsvRefusal::NulBytes:
        return CsvNotText;
    case CsvRefusal::MixedEncodings:
        return CsvLineNotShiftJis.arg(refusal.line);
    case CsvRefusal::QuoteNotClosed:
        break;
    }
    return CsvQuoteNotClosed.arg(refusal.line);
}

QString sheetFailureText(SheetFailure failure, const QString& sheet) {
    switch (failure) {
    case SheetFailure::None:
        break;
    case SheetFailure::NotASpreadsheet:
        return QStringLiteral("表計算ファイル (.xlsx、.ods) ではありません");
    case SheetFailure::Encrypted:
        return QStringLiteral(
            "表計算ファイルにパスワードが掛かっています。パスワードを外して保存し直してください");
    case SheetFailure::Damaged:
        return QStringLiteral("表計算ファイルが壊れています");
    case SheetFailure::TooLarge:
        return QStringLiteral(
            "表計算ファイルが大き過ぎます (展開すると256MBを超えるか、シートのセルが約420万を超えます)");
    case SheetFailure::NoSuchSheet:
        return QStringLiteral("シート「%1」はありません").arg(sheet);
    }
    return {};
}

QStringList importRefusalLines(const CellTextImport& imported, const QString& notImported) {
    return {CellTextsUnencodable.arg(imported.unencodable, cellNames(imported.unencodableCells)),
            notImported};
}

} // namespace kelvano::Messages
