#pragma once

#include <QString>

// The texts of the messages the program shows for the failures its files anticipate. The windows and
// the page generator show them exactly as they stand.

namespace kelvano::Messages {

inline const QString Caption = QStringLiteral("TAVELO");

// Reasons of I/O failures
inline const QString NoSuchFileOrFolder = QStringLiteral("ファイルまたはフォルダがありません");
inline const QString PermissionDenied = QStringLiteral("アクセスする権限がありません");
inline const QString DiskFull = QStringLiteral("ディスクの空き容量が足りません");
inline const QString FileTooLarge =
    QStringLiteral("ファイルが大きすぎます（ファイルサイズの上限を超えました）");
inline const QString ReadOnlyFileSystem = QStringLiteral("読み取り専用のファイルシステムです");
inline const QString NameTooLong = QStringLiteral("ファイル名が長すぎます");
inline const QString NotAFolder = QStringLiteral("パスの途中にフォルダでないものがあります");
inline const QString IsAFolder = QStringLiteral("ファイルではなくフォルダです");
inline const QString DeviceError = QStringLiteral("装置の入出力エラーです");
inline const QString UnknownIoReason = QStringLiteral("読み書き出来ませんでした（原因不明）");

// Settings file
inline const QString CannotFinish = QStringLiteral("終了に失敗しました");

// Table definitions
inline const QString NoTable = QStringLiteral("テーブルがありません");
inline const QString NoTableMaster =
    QStringLiteral("テーブルマスターが見つかりません、テーブル設定で作成してください");
inline const QString NoData = QStringLiteral("データがありません");

// Header and footer store
inline const QString CheckFolderSettings = QStringLiteral("ディレクトリ設定を見直してください");
inline const QString SnippetUnreadable = QStringLiteral("データが異常です、読み込みが出来ません");
inline const QString SnippetUnsaveable = QStringLiteral("データが異常です、保存出来ません");
inline const QString SnippetUndeletable = QStringLiteral("データが異常です、削除出来ません");

// Table data files
inline const QString TableDataCreated = QStringLiteral("データを読み出せません、新規作成します");
inline const QString ResetFolderSettings = QStringLiteral("ディレクトリ設定を再設定して下さい");
inline const QString TableDataUnsaveable = QStringLiteral("データが保存出来ません");

// Table data entry
inline const QString RowLimitReached =
    QStringLiteral("行数が上限の65534行に達しました、これ以上追加出来ません");
inline const QString UnencodableCharacters = QStringLiteral("保存出来ない文字が含まれています：%1");
inline const QString ChooseEntryToRemove = QStringLiteral("削除対象を選択して下さい");
inline const QString WarningCaption = QStringLiteral("警告");

// String utility component
inline const QString ZelStringExCaption = QStringLiteral("ZELSTRINGEX MESSAGE");

// Page generator
inline const QString HeaderMissing =
    QStringLiteral("ヘッダファイルが見つかりませんでした、ヘッダ無しで続行します");
inline const QString FooterMissing =
    QStringLiteral("フォッタファイルが見つかりませんでした、フッタ無しで続行します");
inline const QString PagesFinished = QStringLiteral("作成終了しました");
/// A table, named in messages by its number and title.
inline QString tableLabel(int number, const QString& title) {
    return QStringLiteral("テーブル %1「%2」").arg(number).arg(title);
}
inline const QString TableDataNotEntered = QStringLiteral(
    "%1のデータファイルがまだありません。「テーブルデータを入力する」でテーブルデータを入力してください\n%2");
inline const QString PageNotWritten = QStringLiteral("%1のページを作成出来ませんでした\n%2");
inline const QString DefinitionUnreadable = QStringLiteral("テーブル定義 %1 を読み込めませんでした\n%2");
inline const QString PagesPartlyWritten =
    QStringLiteral("%1件のページを作成しました（%2件は作成出来ませんでした）");

// kelvano-publish (the headless page generator)
inline const QString PublishUsage =
    QStringLiteral("使い方: kelvano-publish [--program-folder フォルダ] (--all | 番号...)\n"
                   "        kelvano-publish [--program-folder フォルダ] --list\n");
inline const QString PublishHelp = QStringLiteral(
    "テーブル定義のHTMLページを、データページの「テーブルをHTML形式で出力」と同じように作成します。\n"
    "\n"
    "  --program-folder フォルダ  TAVELO.DAT と TABLE.DAT のあるフォルダ (省略時はプログラムのフォルダ)\n"
    "  --all                      削除されていないすべてのテーブル定義を、記録順に出力します\n"
    "  番号...                    指定した番号のテーブル定義を、指定した順に出力します\n"
    "  --list                     テーブル定義の一覧 (番号、項目名、ファイル名、ヘッダ、フッタ) "
    "を表示します\n"
    "  --help                     この説明を表示します\n"
    "\n"
    "TAVELO.DAT がないときは、3つのフォルダはプログラムのフォルダ、サーバー画像パスは空とします。\n"
    "TAVELO.DAT と TABLE.DAT に書き込むことはありません。\n"
    "メッセージボックスに出る文はそれぞれ1行で標準エラー出力に、「作成終了しました」は標準出力に出ます。\n"
    "一覧とメッセージの中の制御文字は \\t、\\n、\\r、\\xHH の形で、\\ は \\\\ と表示します。\n"
    "\n"
    "作成出来ないページがあっても、そのテーブルを報告して次のテーブルに進みます。\n"
    "\n"
    "終了ステータス: 0 = すべてのページを作成した、1 = 作成出来なかったページがある、\n"
    "または途中で終わった (TABLE.DAT がない、読み込めない)、2 = 使い方の誤り\n");
inline const QString PublishNoMode = QStringLiteral("--all、--list または番号を指定してください");
inline const QString PublishConflictingModes = QStringLiteral("--all、--list と番号は同時に指定できません");
inline const QString PublishUnknownOption = QStringLiteral("不明なオプションです: %1");
inline const QString PublishMissingFolder =
    QStringLiteral("--program-folder のあとにフォルダを指定してください");
inline const QString PublishBadNumber = QStringLiteral("番号ではありません: %1");
inline const QString PublishNoSuchDefinition = QStringLiteral("テーブル定義 %1 はありません");

// Main window and table formatting dialogs
inline const QString SelectTable = QStringLiteral("テーブルを選択してください");
inline const QString TableNameRequired = QStringLiteral("項目名を入れてください");
inline const QString FileNameRequired = QStringLiteral("ファイル名を入れてください");
inline const QString FileNameUnusable = QStringLiteral("ファイル名に使用出来ない文字が含まれています");
/// The same for a stored definition: its number and its TableName.
inline const QString FileNameUnusableIn =
    QStringLiteral("ファイル名に使用出来ない文字が含まれています：%1 %2");
inline const QString ExtensionAutomatic = QStringLiteral("拡張子は自動に設定されます");
inline const QString SelectTableForEntry = QStringLiteral("入力するテーブルを選択してください");
inline const QString ConfirmDelete = QStringLiteral("削除しますか？");
inline const QString NothingToRestore = QStringLiteral("削除されたテーブルはありません");
inline const QString HeaderNameRequired = QStringLiteral("ヘッダ名を入力してください");
inline const QString FooterNameRequired = QStringLiteral("フッタ名を入力してください");
inline const QString HeaderNameColon = QStringLiteral("ヘッダ名に : は使用出来ません");
inline const QString FooterNameColon = QStringLiteral("フッタ名に : は使用出来ません");
inline const QString HeaderBodyMissing = QStringLiteral("ヘッダデータが読み出せません");
inline const QString FooterBodyMissing = QStringLiteral("フッタデータが読み出せません");
inline const QString SelectDeleteTarget = QStringLiteral("削除対象を選択してください");
inline const QString SaveSettings = QStringLiteral("設定を保存しますか？");

} // namespace kelvano::Messages

// Shell views and the directory and picture pickers
namespace kelvano::Messages {

inline QString shellMoveToTrash(const QString& name) {
    return QStringLiteral("「%1」をごみ箱に移しますか？").arg(name);
}
inline const QString ShellCannotMoveToTrash = QStringLiteral("ごみ箱に移せませんでした");
inline const QString FolderNotSettable = QStringLiteral("そのディレクトリは設定出来ません");
inline const QString PictureExists = QStringLiteral("既にファイルが存在します、上書きをしますか？");
inline const QString PicturePathUnencodable =
    QStringLiteral("ファイル名に使えない文字が含まれています、別のファイルを選んで下さい");

} // namespace kelvano::Messages

// Table data editor: unsaved rows and texts longer than their field
namespace kelvano::Messages {

inline const QString TableDataChanged = QStringLiteral("テーブルデータが変更されています。保存しますか？");
inline const QString DiscardChanges = QStringLiteral("変更を破棄しますか？");
/// %1 is the field's capacity in bytes.
inline const QString TextCutToCapacity = QStringLiteral("%1バイトを超える部分は切り捨てました");

} // namespace kelvano::Messages
