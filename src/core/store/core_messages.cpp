#include "core/store/core_messages.h"

#include "core/store/folder_mapping.h"

// Namespace-scope objects elsewhere may be built from these texts, so they are made before any other.
#define KELVANO_TEXT [[gnu::init_priority(1000)]]

namespace kelvano::Messages {

// Reasons of I/O failures
KELVANO_TEXT const QString NoSuchFileOrFolder = QStringLiteral("ファイルまたはフォルダがありません");
KELVANO_TEXT const QString PermissionDenied = QStringLiteral("アクセスする権限がありません");
KELVANO_TEXT const QString DiskFull = QStringLiteral("ディスクの空き容量が足りません");
KELVANO_TEXT const QString FileTooLarge =
    QStringLiteral("ファイルが大きすぎます（ファイルサイズの上限を超えました）");
KELVANO_TEXT const QString ReadOnlyFileSystem = QStringLiteral("読み取り専用のファイルシステムです");
KELVANO_TEXT const QString NameTooLong = QStringLiteral("ファイル名が長すぎます");
KELVANO_TEXT const QString NotAFolder = QStringLiteral("パスの途中にフォルダでないものがあります");
KELVANO_TEXT const QString IsAFolder = QStringLiteral("ファイルではなくフォルダです");
KELVANO_TEXT const QString NotAPlainFile =
    QStringLiteral("通常のファイルではありません（パイプやデバイスなど）");
KELVANO_TEXT const QString FileChangedSinceRead = QStringLiteral("読み込んだあとでファイルが変わりました");
KELVANO_TEXT const QString ReadOnlyFile = QStringLiteral("読み取り専用のファイルです");
KELVANO_TEXT const QString ProgramsOwnFile = QStringLiteral("Kelvanoが使うファイルです");
KELVANO_TEXT const QString LinkLoop = QStringLiteral("シンボリックリンクが循環しています");
KELVANO_TEXT const QString SettingsFileShort = QStringLiteral("%1バイトしかありません（%2バイト必要です）");
KELVANO_TEXT const QString SettingsDefaultsUsed = QStringLiteral(
    "TAVELO.DAT を使えません（%1）。3つのフォルダはプログラムのフォルダ (%2)、サーバー画像パスは空とします");
KELVANO_TEXT const QString ProgramSettingUnknown =
    QStringLiteral("KELVANO.INI の %1=%2 は使えない値です。%3 とします");
KELVANO_TEXT const QString DeviceError = QStringLiteral("装置の入出力エラーです");
KELVANO_TEXT const QString AlreadyThere = QStringLiteral("同じ名前のファイルまたはフォルダが既にあります");
KELVANO_TEXT const QString UnknownIoReason = QStringLiteral("読み書き出来ませんでした（原因不明）");
KELVANO_TEXT const QString ReadPastEnd = QStringLiteral("ファイルの終わりを越えて読み込もうとしました");
KELVANO_TEXT const QString WritePastEnd = QStringLiteral("ファイルの終わりを越えた位置には書き込めません");
KELVANO_TEXT const QString IncompleteLastRecord =
    QStringLiteral("ファイルの終わりに不完全なレコードがあります");

// Table definitions
KELVANO_TEXT const QString NoData = QStringLiteral("データがありません");

// Stored file names that would reach outside their folders
KELVANO_TEXT const QString FileNameUnusable = QStringLiteral("ファイル名に使用出来ない文字が含まれています");
KELVANO_TEXT const QString FileNameUnusableIn =
    QStringLiteral("ファイル名に使用出来ない文字が含まれています：%1 %2");

// Page generator
KELVANO_TEXT const QString HeaderMissing =
    QStringLiteral("ヘッダファイルが見つかりませんでした、ヘッダ無しで続行します");
KELVANO_TEXT const QString FooterMissing =
    QStringLiteral("フォッタファイルが見つかりませんでした、フッタ無しで続行します");
KELVANO_TEXT const QString LeftScratchFilesRemoved =
    QStringLiteral("中断された実行が残した一時ファイルを%1個 (%2バイト) 削除しました: %3");
KELVANO_TEXT const QString PagesFinished = QStringLiteral("作成終了しました");
QString tableLabel(int number, const QString& title) {
    return QStringLiteral("テーブル %1「%2」").arg(number).arg(title);
}
KELVANO_TEXT const QString TableDataNotEntered = QStringLiteral(
    "%1のデータファイルがまだありません。「テーブルデータを入力する」でテーブルデータを入力してください\n%2");
KELVANO_TEXT const QString PageNotWritten = QStringLiteral("%1のページを作成出来ませんでした\n%2");
KELVANO_TEXT const QString DefinitionUnreadable =
    QStringLiteral("テーブル定義 %1 を読み込めませんでした\n%2");
KELVANO_TEXT const QString PagesPartlyWritten =
    QStringLiteral("%1件のページを作成しました（%2件は作成出来ませんでした）");
KELVANO_TEXT const QString PagesCancelled =
    QStringLiteral("中止しました。%1件のページを作成しました（%2件は作成していません）");

// Pre-publish check
KELVANO_TEXT const QString CheckHeaderNotChosen = QStringLiteral("ヘッダが選ばれていません");
KELVANO_TEXT const QString CheckHeaderBodyMissing = QStringLiteral("ヘッダファイルがありません（%1）");
KELVANO_TEXT const QString CheckFooterNotChosen = QStringLiteral("フッタが選ばれていません");
KELVANO_TEXT const QString CheckFooterBodyMissing = QStringLiteral("フッタファイルがありません（%1）");
KELVANO_TEXT const QString CheckNoDataFile = QStringLiteral("データファイルがありません（%1）");
KELVANO_TEXT const QString CheckDataFileUnreadable =
    QStringLiteral("データファイルを読み込めません（%1: %2）");
KELVANO_TEXT const QString CheckPictureMissing = QStringLiteral("画像「%1」が画像フォルダにありません");
KELVANO_TEXT const QString CheckBackgroundMissing =
    QStringLiteral("背景画像「%1」が画像フォルダにありません");
KELVANO_TEXT const QString CheckServerImagePath = QStringLiteral(
    "サーバでの画像格納場所「%1」ではHTMLフォルダから画像フォルダに届きません（「%2」のはずです）");
KELVANO_TEXT const QString CheckNoCharset =
    QStringLiteral("ヘッダにもフッタにも文字コードの指定（charset=%1）がありません");
KELVANO_TEXT const QString CheckCharsetOther =
    QStringLiteral("文字コードの指定「%1」がページの文字コード %2 と違います");
KELVANO_TEXT const QString CheckHiddenText =
    QStringLiteral("列の数 %1 より後ろの列に文字が残っています（列 %2）");
KELVANO_TEXT const QString CheckLocalPageMissing = QStringLiteral("リンク先「%1」がHTMLフォルダにありません");
KELVANO_TEXT const QString CheckWideForPhones =
    QStringLiteral("表の幅 %1 ピクセルはスマートフォンの画面（360 ピクセル）より広く、横にスクロールしません"
                   "（「スマートフォンでは横にスクロール」）");
KELVANO_TEXT const QString CheckHeaderMarkup = QStringLiteral("ヘッダ %1 行目 (HTML5 の検査): %2");
KELVANO_TEXT const QString CheckFooterMarkup = QStringLiteral("フッタ %1 行目 (HTML5 の検査): %2");
KELVANO_TEXT const QString CheckFoundNothing = QStringLiteral("問題は見つかりませんでした");
KELVANO_TEXT const QString CheckBackslashInPath =
    QStringLiteral("パスに \\ が含まれています（「%1」）。Webサーバーでは区切りに / を使います");
KELVANO_TEXT const QString CheckNameCaseDiffers = QStringLiteral(
    "「%1」はフォルダでは「%"
    "2」です。大文字・小文字が違うとWebサーバーで見つかりません。どちらかの名前を変えてください");
KELVANO_TEXT const QString CheckNameInShiftJis = QStringLiteral(
    "「%1」のファイル名が Shift-JIS のままです。起動時の「ファイル名の文字コードを直す」で直せます");
KELVANO_TEXT const QString CheckNameAmbiguous =
    QStringLiteral("「%1」に当たるファイルが複数あります（%2）。「%3」を使います");

// kelvano-publish (the headless page generator)
KELVANO_TEXT const QString PublishUsage = QStringLiteral(
    "使い方: kelvano-publish [--program-folder フォルダ] [--map-folders] [--encoding 文字コード]\n"
    "                        [--markup 書式] (--all | 番号...)\n"
    "        kelvano-publish [--program-folder フォルダ] [--map-folders] [--encoding 文字コード]\n"
    "                        --check (--all | 番号...)\n"
    "        kelvano-publish [--program-folder フォルダ] --list\n");
KELVANO_TEXT const QString PublishHelp = QStringLiteral(
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
KELVANO_TEXT const QString PublishNoMode = QStringLiteral("--all、--list または番号を指定してください");
KELVANO_TEXT const QString PublishConflictingModes =
    QStringLiteral("--all、--list と番号は同時に指定できません");
KELVANO_TEXT const QString PublishUnknownOption = QStringLiteral("不明なオプションです: %1");
KELVANO_TEXT const QString PublishMissingFolder =
    QStringLiteral("--program-folder のあとにフォルダを指定してください");
KELVANO_TEXT const QString PublishBadNumber = QStringLiteral("番号ではありません: %1");
KELVANO_TEXT const QString PublishNoSuchDefinition = QStringLiteral("テーブル定義 %1 はありません");
KELVANO_TEXT const QString PublishBadEncoding =
    QStringLiteral("--encoding のあとに UTF-8 または Shift_JIS を指定してください: %1");
KELVANO_TEXT const QString PublishBadMarkup =
    QStringLiteral("--markup のあとに Classic または HTML5 を指定してください: %1");
KELVANO_TEXT const QString PublishFolderMapped = QStringLiteral("%1のフォルダ: %2 → %3");
KELVANO_TEXT const QString PublishFolderMissing = QStringLiteral("%1のフォルダ「%2」がありません");
KELVANO_TEXT const QString PublishFolderNotOfThisSystem =
    QStringLiteral("%1のフォルダ「%2」はこのコンピュータのフォルダではありません");
KELVANO_TEXT const QString PublishMapFoldersHint = QStringLiteral(
    "--map-folders を付けると、プログラムのフォルダの中の同じ名前のフォルダを使い、TAVELO.DAT に記録します");

QString folderSettingName(FolderSetting setting) {
    switch (setting) {
    case FolderSetting::Data:
        return QStringLiteral("データ");
    case FolderSetting::Html:
        return QStringLiteral("HTML");
    case FolderSetting::Image:
        break;
    }
    return QStringLiteral("画像");
}

// Cell texts from other programs (the clipboard, CSV files) and kelvano-publish's CSV commands
QString cellName(int row, int column) {
    return QStringLiteral("行%1 列%2").arg(row).arg(column);
}
KELVANO_TEXT const QString MoreCells = QStringLiteral(" ほか%1セル");
KELVANO_TEXT const QString CellTextsCut =
    QStringLiteral("次のセルの文字列は%1バイトを超えるため、文字の切れ目で切り詰めました: %2");
KELVANO_TEXT const QString CellTextsUnencodable =
    QStringLiteral("次のセルには Shift-JIS で保存出来ない文字 (%1) があります: %2");
KELVANO_TEXT const QString CsvFieldsDropped =
    QStringLiteral("テーブルの列数 (%2) を超える%1個の値は読み込みませんでした");
KELVANO_TEXT const QString CsvTooManyRows = QStringLiteral("行数が上限の%1行を超えます");
KELVANO_TEXT const QString TableInUse = QStringLiteral(
    "%1はKelvanoのテーブルデータ入力か別の読み込みが使用中です。終わってからもう一度実行してください");
KELVANO_TEXT const QString CsvImportRefused =
    QStringLiteral("CSVを読み込みませんでした。テーブルデータは変更していません");
KELVANO_TEXT const QString CsvImported = QStringLiteral("%1行を読み込みました: %2");
KELVANO_TEXT const QString CsvExported = QStringLiteral("%1行を書き出しました: %2");
KELVANO_TEXT const QString CsvTargetRefused =
    QStringLiteral("CSVを書き出しませんでした。次のファイルには書き出せません (%1): %2");
KELVANO_TEXT const QString CsvNotText =
    QStringLiteral("CSVファイルにNULバイトがあります。テキストファイルではありません");
KELVANO_TEXT const QString CsvLineNotShiftJis =
    QStringLiteral("CSVファイルの%1行目はShift-JISではありません (UTF-8とShift-JISの行が混ざっています)");
KELVANO_TEXT const QString CsvQuoteNotClosed =
    QStringLiteral("CSVファイルの%1行目で始まる引用符 (\") が閉じられていません");
KELVANO_TEXT const QString CsvEmpty = QStringLiteral("CSVファイルが空です");
KELVANO_TEXT const QString CsvUnreadable = QStringLiteral("CSVファイルを読み込めません");
KELVANO_TEXT const QString PublishCsvUsage = QStringLiteral(
    "        kelvano-publish [--program-folder フォルダ] --export-csv 番号 ファイル "
    "[--csv-encoding UTF-8|Shift_JIS]\n"
    "        kelvano-publish [--program-folder フォルダ] --import-csv 番号 ファイル [--append]\n");
KELVANO_TEXT const QString PublishCsvHelp = QStringLiteral(
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
KELVANO_TEXT const QString PublishCsvArguments =
    QStringLiteral("--export-csv と --import-csv には番号とファイルを1つずつ指定してください");
KELVANO_TEXT const QString PublishCsvBadEncoding =
    QStringLiteral("--csv-encoding には UTF-8 か Shift_JIS を指定してください: %1");

// Sending pages to the web server
KELVANO_TEXT const QString PublishUploadUsage = QStringLiteral(
    "        kelvano-publish [--program-folder フォルダ] --upload [--dry-run] [--delete-missing]\n"
    "                        (--all | 番号...)\n");
KELVANO_TEXT const QString PublishUploadHelp = QStringLiteral(
    "  --upload                   作成済みのページと、そのページが使う画像・背景画像を、KELVANO.INI の\n"
    "                             [Server] のサーバーへ SFTP または FTPS で送信します。前回送信した時から\n"
    "                             変わっていないファイル (大きさと SHA-256 で比べます) は送信しません\n"
    "  --dry-run                  送信せずに、送信するファイルとその理由を表示します\n"
    "  --delete-missing           以前に送信したファイルのうち、手元にないものをサーバーから削除します\n"
    "                             (一覧を表示し、端末で確認してから)\n"
    "パスワードはキーリング、環境変数 KELVANO_UPLOAD_PASSWORD、端末 (表示なし) の順に探します。\n"
    "終了ステータス (--upload): 0 = すべて送信した、1 = 送信出来なかったものがある、2 = 使い方の誤り\n");
KELVANO_TEXT const QString UploadFinished =
    QStringLiteral("%1件のファイルを送信しました（%2件は変更がないため送信しませんでした）");
KELVANO_TEXT const QString UploadPageNotWritten =
    QStringLiteral("%1: ページがまだ作成されていないため送信しません (%2)");
KELVANO_TEXT const QString UploadPictureMissing =
    QStringLiteral("%1: 画像フォルダに %2 がないため送信しません");
KELVANO_TEXT const QString UploadImagePathUnusable =
    QStringLiteral("サーバでの画像格納場所がHTMLフォルダの下を指していないため、画像は送信しません");
KELVANO_TEXT const QString UploadFileFailed =
    QStringLiteral("%1 を送信できませんでした: %2（サーバーのファイルは元のままです）");
KELVANO_TEXT const QString UploadFileStarting = QStringLiteral("送信中 %1/%2: %3 (%4 バイト)");
KELVANO_TEXT const QString UploadWouldSend = QStringLiteral("送信します: %1 (%2)");
KELVANO_TEXT const QString UploadReasonNew = QStringLiteral("新規");
KELVANO_TEXT const QString UploadReasonChanged = QStringLiteral("変更あり");
KELVANO_TEXT const QString UploadWouldSendCount =
    QStringLiteral("%1件のファイルを送信します（%2件は変更がないため送信しません）");
KELVANO_TEXT const QString UploadNoServer =
    QStringLiteral("サーバーが設定されていません (KELVANO.INI の [Server] の Host と User)");
KELVANO_TEXT const QString UploadNoPassword = QStringLiteral(
    "パスワードがありません (キーリング、環境変数 KELVANO_UPLOAD_PASSWORD、端末のどれからも得られません)");
KELVANO_TEXT const QString UploadPasswordPrompt = QStringLiteral("%1 のパスワード: ");
KELVANO_TEXT const QString UploadTrustHostKey = QStringLiteral(
    "サーバー %1 のホスト鍵はまだ信頼されていません。\n指紋: %2\nこの鍵を信頼して接続しますか?");
KELVANO_TEXT const QString UploadTrustCertificate = QStringLiteral(
    "サーバー %1 の証明書は確認できませんでした (%3)。\n公開鍵の指紋: %2\nこの証明書を信頼して接続しますか?");
KELVANO_TEXT const QString UploadTrustAnswer = QStringLiteral(" [y/N] ");
KELVANO_TEXT const QString UploadUnreachable = QStringLiteral("サーバーに接続できませんでした: %1");
KELVANO_TEXT const QString UploadLoginRefused =
    QStringLiteral("ログインできませんでした (ユーザー名、パスワードまたは鍵が違います): %1");
KELVANO_TEXT const QString UploadHostKeyNotTrusted =
    QStringLiteral("ホスト鍵を信頼しなかったため接続しませんでした");
KELVANO_TEXT const QString UploadHostKeyChanged = QStringLiteral(
    "サーバー %1 のホスト鍵が変わっています。接続しませんでした。\n信頼している鍵: %2\nサーバーが示した鍵: "
    "%3\nサーバーの管理者に鍵が変わったことを確かめてから、%4 の %1 の行を削除してください");
KELVANO_TEXT const QString UploadCertificateNotTrusted =
    QStringLiteral("証明書を信頼しなかったため接続しませんでした: %1");
KELVANO_TEXT const QString UploadCertificateChanged =
    QStringLiteral("サーバー %1 の証明書が変わっています。接続しませんでした。\n信頼している証明書: %2\n"
                   "サーバーが示した証明書: %3\nサーバーの管理者に証明書が変わったことを確かめてから、%4 の "
                   "%1 の行を削除してください");
KELVANO_TEXT const QString UploadCancelled = QStringLiteral("送信を中止しました");
KELVANO_TEXT const QString UploadConnectionBroken = QStringLiteral("サーバーとの接続が切れました: %1");
KELVANO_TEXT const QString UploadNotTried = QStringLiteral("%1件のファイルは送信しませんでした");
KELVANO_TEXT const QString UploadWouldRemove = QStringLiteral("サーバーから削除します: %1");
KELVANO_TEXT const QString UploadRemoveQuestion =
    QStringLiteral("これらのファイルをサーバーから削除しますか?");
KELVANO_TEXT const QString UploadRemoveNotAsked =
    QStringLiteral("端末で確認できないため、サーバーのファイルは削除しませんでした");
KELVANO_TEXT const QString UploadRemoved = QStringLiteral("%1件のファイルをサーバーから削除しました");
KELVANO_TEXT const QString UploadNothingToRemove = QStringLiteral("サーバーから削除するファイルはありません");
KELVANO_TEXT const QString UploadRemoveFailed =
    QStringLiteral("%1 をサーバーから削除できませんでした: %2（サーバーのファイルは元のままです）");
KELVANO_TEXT const QString UploadTestFound =
    QStringLiteral("接続できました。%1 に %2 件のファイルまたはフォルダがあります:\n%3");
KELVANO_TEXT const QString UploadTestEmpty =
    QStringLiteral("接続できました。%1 はまだないか空です (最初の送信で作られます)。");
KELVANO_TEXT const QString ServerSettingsUnsaveable =
    QStringLiteral("サーバー設定を KELVANO.INI に保存できませんでした");
KELVANO_TEXT const QString UploadSending = QStringLiteral("サーバーへ送信しています…");
KELVANO_TEXT const QString UploadConnecting = QStringLiteral("サーバーに接続しています…");
KELVANO_TEXT const QString UploadRemoving = QStringLiteral("サーバーから削除しています…");

} // namespace kelvano::Messages
