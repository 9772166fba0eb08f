#include "publish_texts.h"

namespace kelvano::Messages {

// Usage, help and the command line
const QString PublishUsage = QStringLiteral(
    "使い方: kelvano-publish [--program-folder フォルダ] [--map-folders] [--encoding 文字コード]\n"
    "                        [--markup 書式] (--all | 番号...)\n"
    "        kelvano-publish [--program-folder フォルダ] [--map-folders] [--encoding 文字コード]\n"
    "                        --check (--all | 番号...)\n"
    "        kelvano-publish [--program-folder フォルダ] --list\n");
const QString PublishHelp = QStringLiteral(
    "テーブル定義のHTMLページを、データページの「テーブルをHTML形式で出力」と同じように作成します。\n"
    "\n"
    "  --program-folder フォルダ  TAVELO.DAT と TABLE.DAT のあるフォルダ (省略時はプログラムのフォルダ)\n"
    "  --encoding 文字コード      ページの文字コード UTF-8 または Shift_JIS (省略時は KELVANO.INI の設定)\n"
    "  --markup 書式              HTMLの書式 Classic (従来) または HTML5 (省略時は KELVANO.INI の設定)\n"
    "  --all                      削除されていないすべてのテーブル定義を、記録順に出力します\n"
    "  番号...                    指定した番号のテーブル定義を、指定した順に出力します\n"
    "  --check                    ページを作成せずに、問題 (ヘッダ・フッタ、データファイル、画像、リンク、\n"
    "                             文字コードの指定、隠れた列) を1行に1つ「番号 項目名: 内容」で表示します\n"
    "  --map-folders              "
    "ないフォルダの代わりに、プログラムのフォルダの中の名前の合うフォルダを使い、\n"
    "                             TAVELO.DAT に記録します (ほかのパソコンから移したとき)\n"
    "  --list                     テーブル定義の一覧 (番号、項目名、ファイル名、ヘッダ、フッタ) "
    "を表示します\n"
    "  --help                     この説明を表示します\n"
    "  --version                  版を表示します\n"
    "\n"
    "TAVELO.DAT がないときは、3つのフォルダはプログラムのフォルダ、サーバー画像パスは空とします。\n"
    "TAVELO.DAT に書き込むのは --map-folders でフォルダを置き換えたときだけです。\n"
    "TABLE.DAT に書き込むことはありません。\n"
    "メッセージボックスに出る文はそれぞれ1行で標準エラー出力に、「作成終了しました」は標準出力に出ます。\n"
    "一覧とメッセージの中の制御文字は \\t、\\n、\\r、\\xHH の形で、\\ は \\\\ と表示します。\n"
    "\n"
    "作成出来ないページがあっても、そのテーブルを報告して次のテーブルに進みます。\n"
    "\n"
    "終了ステータス: 0 = すべてのページを作成した (--check では問題がない)、\n"
    "1 = 作成出来なかったページがある (--check では問題がある)、\n"
    "または途中で終わった (TABLE.DAT がない、読み込めない)、2 = 使い方の誤り\n");
const QString PublishNoMode = QStringLiteral("--all、--list または番号を指定してください");
const QString PublishConflictingModes = QStringLiteral("--all、--list と番号は同時に指定できません");
const QString PublishUnknownOption = QStringLiteral("不明なオプションです: %1");
const QString PublishMissingFolder = QStringLiteral("--program-folder のあとにフォルダを指定してください");
const QString PublishBadNumber = QStringLiteral("番号ではありません: %1");
const QString PublishNoSuchDefinition = QStringLiteral("テーブル定義 %1 はありません");
const QString PublishBadEncoding =
    QStringLiteral("--encoding のあとに UTF-8 または Shift_JIS を指定してください: %1");
const QString PublishBadMarkup =
    QStringLiteral("--markup のあとに Classic または HTML5 を指定してください: %1");

// Settings and folders
const QString SettingsDefaultsUsed = QStringLiteral(
    "TAVELO.DAT を使えません（%1）。3つのフォルダはプログラムのフォルダ (%2)、サーバー画像パスは空とします");
const QString ProgramSettingUnknown = QStringLiteral("KELVANO.INI の %1=%2 は使えない値です。%3 とします");
const QString PublishFolderMapped = QStringLiteral("%1のフォルダ: %2 → %3");
const QString PublishFolderMissing = QStringLiteral("%1のフォルダ「%2」がありません");
const QString PublishFolderNotOfThisSystem =
    QStringLiteral("%1のフォルダ「%2」はこのコンピュータのフォルダではありません");
const QString PublishMapFoldersHint = QStringLiteral(
    "--map-folders を付けると、プログラムのフォルダの中の同じ名前のフォルダを使い、TAVELO.DAT に記録します");

// The CSV commands
const QString PublishCsvUsage = QStringLiteral(
    "        kelvano-publish [--program-folder フォルダ] --export-csv 番号 ファイル "
    "[--csv-encoding UTF-8|Shift_JIS]\n"
    "        kelvano-publish [--program-folder フォルダ] --import-csv 番号 ファイル [--append]\n");
const QString PublishCsvHelp = QStringLiteral(
    "  --export-csv 番号 ファイル テーブルデータの文字を、1行1レコードのCSV (カンマ区切り、行末 CR LF) "
    "に書き出します\n"
    "                             (ファイルに - を指定すると標準出力に書き出します)\n"
    "  --csv-encoding 符号化      書き出すCSVの文字コード: UTF-8 (BOM付き、省略時) または Shift_JIS\n"
    "  --import-csv 番号 ファイル CSV/TSV (UTF-8、Shift-JIS、BOM付きUTF-16・UTF-32、区切りは自動判別) "
    "を読み込み、\n"
    "                             テーブルの行をその内容に置き換えます\n"
    "  --append                   読み込んだ行を、今ある行のあとに追加します (テーブルが空の1行だけのときは\n"
    "                             その行と置き換えます)\n"
    "\n"
    "読み込みでは、列数を超える値は捨て、250バイトを超える文字列は切り詰めてそれぞれ知らせます。\n"
    "Shift-JIS で保存出来ない文字があるときは、そのセルを知らせ、何も変更せずに終了ステータス 1 で\n"
    "終わります。テーブルデータ入力の「CSVを読み込む」も、同じ決まりで読み込みます。\n");
const QString PublishCsvArguments =
    QStringLiteral("--export-csv と --import-csv には番号とファイルを1つずつ指定してください");
const QString PublishCsvModesTogether = QStringLiteral("%1 は同時に指定できません");
const QString PublishCsvBadEncoding =
    QStringLiteral("--csv-encoding には UTF-8 か Shift_JIS を指定してください: %1");
const QString CsvFieldsDropped = QStringLiteral("テーブルの列数 (%2) を超える%1個の値は読み込みませんでした");
const QString CsvTooManyRows = QStringLiteral("行数が上限の%1行を超えます");
const QString TableInUse = QStringLiteral(
    "%1はKelvanoのテーブルデータ入力か別の読み込みが使用中です。終わってからもう一度実行してください");
const QString CsvEmpty = QStringLiteral("CSVファイルが空です");
const QString CsvTargetRefused =
    QStringLiteral("CSVを書き出しませんでした。次のファイルには書き出せません (%1): %2");
const QString ReadOnlyFile = QStringLiteral("読み取り専用のファイルです");
const QString ProgramsOwnFile = QStringLiteral("Kelvanoが使うファイルです");
const QString TableLine = QStringLiteral("%1: %2");
const QString CsvImported = QStringLiteral("%1行を読み込みました: %2");
const QString CsvExported = QStringLiteral("%1行を書き出しました: %2");

// The spreadsheet commands
const QString SheetUsage = QStringLiteral(
    "        kelvano-publish [--program-folder フォルダ] --import-sheet 番号 ファイル [--sheet シート] "
    "[--append]\n"
    "        kelvano-publish --list-sheets ファイル\n");
const QString SheetHelp = QStringLiteral(
    "  --import-sheet 番号 ファイル 表計算ファイル (.xlsx、.ods) のシートを読み込み、テーブルの行を"
    "その内容に置き換えます\n"
    "                             (--append で今ある行のあとに追加)。セルは表計算ソフトの表示どおり"
    "の文字で、\n"
    "                             日付は yyyy/mm/dd、時刻は h:mm、数式はその結果、結合したセルは"
    "左上のセルだけ、\n"
    "                             非表示の行と列も読み込みます。決まりと終了ステータスは --import-csv"
    " と同じです\n"
    "  --sheet シート             読み込むシートの名前、または左から数えた番号 (1から。省略時は最初の"
    "シート)\n"
    "  --list-sheets ファイル     表計算ファイルのシートを「番号 名前」で1行に1つ表示します\n"
    "テーブルデータ入力の「表計算ファイルを読み込む…」も、同じ決まりで読み込みます。\n");
const QString SheetListArguments = QStringLiteral("--list-sheets にはファイルを1つ指定してください");
const QString SheetEmpty = QStringLiteral("シートが空です");

// Sending to the server
const QString PublishUploadUsage = QStringLiteral(
    "        kelvano-publish [--program-folder フォルダ] --upload [--dry-run] [--delete-missing]\n"
    "                        (--all | 番号...)\n");
const QString PublishUploadHelp = QStringLiteral(
    "  --upload                   作成済みのページと、そのページが使う画像・背景画像を、KELVANO.INI の\n"
    "                             [Server] のサーバーへ SFTP または FTPS で送信します。前回送信した時から\n"
    "                             変わっていないファイル (大きさと SHA-256 で比べます) は送信しません\n"
    "  --dry-run                  送信せずに、送信するファイルとその理由を表示します\n"
    "  --delete-missing           以前に送信したファイルのうち、手元にないものをサーバーから削除します\n"
    "                             (一覧を表示し、端末で確認してから)\n"
    "パスワードはキーリング、環境変数 KELVANO_UPLOAD_PASSWORD、端末 (表示なし) の順に探します。\n"
    "終了ステータス (--upload): 0 = すべて送信した、1 = 送信出来なかったものがある、2 = 使い方の誤り\n");
const QString UploadWouldSend = QStringLiteral("送信します: %1 (%2)");
const QString UploadReasonNew = QStringLiteral("新規");
const QString UploadReasonChanged = QStringLiteral("変更あり");
const QString UploadWouldSendCount =
    QStringLiteral("%1件のファイルを送信します（%2件は変更がないため送信しません）");
const QString UploadNoPassword = QStringLiteral(
    "パスワードがありません (キーリング、環境変数 KELVANO_UPLOAD_PASSWORD、端末のどれからも得られません)");
const QString UploadTrustAnswer = QStringLiteral(" [y/N] ");
const QString UploadRemoveNotAsked =
    QStringLiteral("端末で確認できないため、サーバーのファイルは削除しませんでした");

} // namespace kelvano::Messages
