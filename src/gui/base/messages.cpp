#include "gui/base/messages.h"

#include "core/store/table_row_record.h"

#include <algorithm>

namespace kelvano::Messages {

// Caption of every message box
const QString Caption = QStringLiteral("TAVELO");

// Settings file
const QString CannotFinish = QStringLiteral("終了に失敗しました");
const QString PageEncodingUnsaveable =
    QStringLiteral("ページの文字コードを KELVANO.INI に保存出来ませんでした");
const QString PageMarkupUnsaveable = QStringLiteral("HTMLの書式を KELVANO.INI に保存出来ませんでした");

const QString ProgramHelp = QStringLiteral(
    "使い方: kelvano [--help | --version]\n"
    "\n"
    "表のデータを入力して、表ごとに一枚の HTML ページを作ります。\n"
    "設定 (TAVELO.DAT) とテーブル定義 (TABLE.DAT) は、プログラムのフォルダに書き込めるときはそこに、\n"
    "書き込めないとき (/usr にインストールしたときなど) は ~/.local/share/Kelvano/ に置きます。\n"
    "一つのフォルダで動くのは一つだけです。もう一度起動すると、動いているウィンドウが前に出ます。\n"
    "ページを窓なしで作るには kelvano-publish を使います。\n"
    "\n"
    "  --help     この説明を表示します\n"
    "  --version  版を表示します\n");
const QString AlreadyRunning = QStringLiteral("Kelvanoはこのフォルダですでに起動しています。");

// Table definitions
const QString NoTable = QStringLiteral("テーブルがありません");
const QString CheckMoreFindings = QStringLiteral("ほか %1 件");
const QString CheckFoundNothing = QStringLiteral("問題は見つかりませんでした");
const QString PageNotWrittenYet = QStringLiteral(
    "ページはまだ作成されていません。「テーブルをHTML形式で出力」で作成してから開いてください\n%1");
const QString PageProgressText = QStringLiteral("ページを作成しています（%1 / %2）\n%3");
const QString BrowserNotOpened = QStringLiteral("ブラウザでページを開けませんでした\n%1");
const QString NoBrowserSetUp = QStringLiteral(
    "ブラウザが設定されていないため、ページを開けませんでした。既定のブラウザを設定してください\n%1");
const QString NoTableMaster =
    QStringLiteral("テーブルマスターが見つかりません、テーブル設定で作成してください");

// Header and footer store
const QString CheckFolderSettings = QStringLiteral("ディレクトリ設定を見直してください");
const QString StarterNeedsEmptyText =
    QStringLiteral("ひな形は入力欄が空のときに入ります。入力欄を空にしてから押してください");
const QString SnippetUnreadable = QStringLiteral("データが異常です、読み込みが出来ません");
const QString SnippetUnsaveable = QStringLiteral("データが異常です、保存出来ません");
const QString SnippetUndeletable = QStringLiteral("データが異常です、削除出来ません");

// Table data files
QString pagesNotWritten(const QStringList& failures) {
    return QStringLiteral("%1件のテーブルのページを作成出来ませんでした\n\n").arg(failures.size()) +
           failures.join(QStringLiteral("\n\n"));
}
const QString EditorTitle = QStringLiteral("テーブルデータ入力");
QString editorTitle(int number, const QString& title) {
    return QStringLiteral("%1 - %2 %3").arg(EditorTitle).arg(number).arg(title);
}
const QString TableDataCreated = QStringLiteral("データを読み出せません、新規作成します");
const QString ResetFolderSettings = QStringLiteral("ディレクトリ設定を再設定して下さい");
const QString TableDataUnsaveable = QStringLiteral("データが保存出来ません");

// Table data entry
const QString RowLimitReached = QStringLiteral("行数が上限の65534行に達しました、これ以上追加出来ません");
const QString UnencodableCharacters = QStringLiteral("保存出来ない文字が含まれています：%1");
const QString ChooseEntryToRemove = QStringLiteral("削除対象を選択して下さい");
const QString WarningCaption = QStringLiteral("警告");

// String utility component
const QString ZelStringExCaption = QStringLiteral("ZELSTRINGEX MESSAGE");

// Main window and table formatting dialogs
const QString SelectTable = QStringLiteral("テーブルを選択してください");
const QString TableNameRequired = QStringLiteral("項目名を入れてください");
const QString FileNameRequired = QStringLiteral("ファイル名を入れてください");
const QString ExtensionAutomatic = QStringLiteral("拡張子は自動に設定されます");
const QString SelectTableForEntry = QStringLiteral("入力するテーブルを選択してください");
const QString ConfirmDelete = QStringLiteral("削除しますか？");
const QString NothingToRestore = QStringLiteral("削除されたテーブルはありません");
const QString HeaderNameRequired = QStringLiteral("ヘッダ名を入力してください");
const QString FooterNameRequired = QStringLiteral("フッタ名を入力してください");
const QString HeaderNameColon = QStringLiteral("ヘッダ名に : は使用出来ません");
const QString FooterNameColon = QStringLiteral("フッタ名に : は使用出来ません");
const QString HeaderBodyMissing = QStringLiteral("ヘッダデータが読み出せません");
const QString FooterBodyMissing = QStringLiteral("フッタデータが読み出せません");
const QString SelectDeleteTarget = QStringLiteral("削除対象を選択してください");
const QString SaveSettings = QStringLiteral("設定を保存しますか？");

// Shell views and the directory and picture pickers
QString shellMoveToTrash(const QString& name) {
    return QStringLiteral("「%1」をごみ箱に移しますか？").arg(name);
}
const QString ShellCannotMoveToTrash = QStringLiteral("ごみ箱に移せませんでした");
const QString FolderNotSettable = QStringLiteral("そのディレクトリは設定出来ません");
const QString PictureExists = QStringLiteral("既にファイルが存在します、上書きをしますか？");
const QString PicturePathUnencodable =
    QStringLiteral("ファイル名に使えない文字が含まれています、別のファイルを選んで下さい");
QString picturePathTooLong(qsizetype bytes) {
    return QStringLiteral("画像のパスが長すぎます（%1バイト）。%2バイトまでのパスの画像を選んで下さい")
        .arg(bytes)
        .arg(TableRowRecord::CellCapacity);
}
QString linkTooLong(qsizetype bytes) {
    return QStringLiteral("リンク先が長すぎます（%1バイト）。%2バイトまでにして下さい")
        .arg(bytes)
        .arg(TableRowRecord::CellCapacity);
}

// Table data editor: unsaved rows and texts longer than their field
const QString TableDataChanged = QStringLiteral("テーブルデータが変更されています。保存しますか？");
const QString DiscardChanges = QStringLiteral("変更を破棄しますか？");
const QString CsvEmptyReplaces = QStringLiteral("CSVファイルが空です。テーブルのすべての行を削除しますか？");
const QString SheetEmptyReplaces = QStringLiteral("シートが空です。テーブルのすべての行を削除しますか？");
const QString TableDataChangedOnDisk =
    QStringLiteral("テーブルデータのファイルが、開いた後に変更されています。上書きしますか？");
QString tableInUse(const QString& fileName) {
    return QStringLiteral("テーブル「%1」は、ほかのKelvanoで開かれているか、書き換えの途中です。")
        .arg(fileName);
}
const QString TextCutToCapacity = QStringLiteral("%1バイトを超える部分は切り捨てました");

// Table data editor: texts from the clipboard and CSV files
const QString ColumnsCutOff = QStringLiteral("テーブルの列数を超える%1列分は入れませんでした");
const QString CsvColumnsRaise = QStringLiteral("CSVには%1列あります。列の数を%2にしますか？");
const QString SheetColumnsRaise = QStringLiteral("シートには%1列あります。列の数を%2にしますか？");
const QString CellsNotStored =
    QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (%1) があるため、変更しませんでした: %2");

// Main window: a registered table's data files following its new file name
QString renameDataFilesQuestion(const QString& newName) {
    return QStringLiteral("データファイルの名前も「%1」に変更しますか？").arg(newName);
}
QString dataFilesOfOpenTable(const QString& table) {
    return QStringLiteral("%1はテーブルデータ入力で開かれているため、データファイルの名前を変更できません。\n"
                          "入力を閉じてから、もう一度登録してください。")
        .arg(table);
}
QString dataFileInTheWay(const QString& path) {
    return QStringLiteral("新しい名前のデータファイルが既にあります：\n%1\n"
                          "上書きしないよう、登録を取りやめました。")
        .arg(path);
}
QString dataFilesNotRenamed(const QString& from, const QString& to, const QString& reason,
                            const QStringList& putBack, const QStringList& notPutBack) {
    QString text =
        QStringLiteral("データファイルの名前を変更できませんでした。登録は行っていません。\n%1\n→ %2\n%3")
            .arg(from, to, reason);
    if (!putBack.isEmpty()) {
        text += QStringLiteral("\n元の名前に戻したファイル：\n") + putBack.join(QLatin1Char('\n'));
    }
    if (!notPutBack.isEmpty()) {
        text += QStringLiteral("\n元の名前に戻せなかったファイル：\n") + notPutBack.join(QLatin1Char('\n'));
    }
    return text;
}
QString dataFilesRenamed(const QString& newName) {
    return QStringLiteral("データファイルの名前を「%1」に変更しました。").arg(newName);
}
QString dataFilesRenamedPageKept(const QString& newName, const QString& oldPage) {
    return dataFilesRenamed(newName) +
           QStringLiteral("\n以前の名前のページはそのまま残っています：\n%1").arg(oldPage);
}

// Main window: deleting a header or footer
QString confirmSnippetDelete(const QString& name) {
    return QStringLiteral("「%1」を削除しますか？").arg(name);
}
const QString HeaderUsedBy = QStringLiteral("このヘッダを使っているテーブル：");
const QString FooterUsedBy = QStringLiteral("このフッタを使っているテーブル：");
const QString UsersSeparator = QStringLiteral("、");

// Moving in: folders and file names from another computer
const QString FolderMark = QStringLiteral("！");
const QString FolderNotOfThisSystem =
    QStringLiteral("このコンピュータのフォルダではありません（ほかのパソコンのフォルダなど）。「参照」か「フ"
                   "ォルダ自動設定」で設定してください");
const QString FolderMissing =
    QStringLiteral("フォルダがありません。「参照」か「フォルダ自動設定」で設定してください");

QString folderMappingQuestion(const QStringList& renames, const QStringList& folders) {
    // A long list is cut: the question must fit on the screen.
    constexpr qsizetype Listed = 12;
    QStringList lines;
    if (!renames.isEmpty()) {
        lines.append(QStringLiteral("ファイル名の文字コードを直す（Shift-JIS → UTF-8）:"));
        for (const QString& rename : renames.first(std::min(Listed, renames.size()))) {
            lines.append(QStringLiteral("  ") + rename);
        }
        if (renames.size() > Listed) {
            lines.append(QStringLiteral("  ほか%1件").arg(renames.size() - Listed));
        }
    }
    if (!folders.isEmpty()) {
        if (!lines.isEmpty()) {
            lines.append(QString());
        }
        lines.append(QStringLiteral("保存されているフォルダが見つかりません。次のフォルダを使いますか？"));
        for (const QString& folder : folders) {
            lines.append(QStringLiteral("  ") + folder);
        }
    } else {
        lines.append(QString());
        lines.append(QStringLiteral("ファイル名を直しますか？"));
    }
    return lines.join(QLatin1Char('\n'));
}

// Sending to the server: the server settings dialog and the progress of a run
const QString UploadTestFound =
    QStringLiteral("接続できました。%1 に %2 件のファイルまたはフォルダがあります:\n%3");
const QString UploadTestEmpty =
    QStringLiteral("接続できました。%1 はまだないか空です (最初の送信で作られます)。");
const QString UploadSending = QStringLiteral("サーバーへ送信しています…");
const QString UploadConnecting = QStringLiteral("サーバーに接続しています…");
const QString UploadRemoving = QStringLiteral("サーバーから削除しています…");
const QString ServerSettingsUnsaveable = QStringLiteral("サーバー設定を KELVANO.INI に保存できませんでした");

} // namespace kelvano::Messages
