#include "words/page_words.h"

#include "core/store/failure_reasons.h"

namespace kelvano::Messages {

const QString NoData = QStringLiteral("データがありません");

const QString FileNameUnusableIn = QStringLiteral("ファイル名に使用出来ない文字が含まれています：%1 %2");
const QString HeaderMissing = QStringLiteral("ヘッダファイルが見つかりませんでした、ヘッダ無しで続行します");
const QString FooterMissing =
    QStringLiteral("フォッタファイルが見つかりませんでした、フッタ無しで続行します");
const QString LeftScratchFilesRemoved =
    QStringLiteral("中断された実行が残した一時ファイルを%1個 (%2バイト) 削除しました: %3");
const QString PagesFinished = QStringLiteral("作成終了しました");
const QString TableDataNotEntered = QStringLiteral(
    "%1のデータファイルがまだありません。「テーブルデータを入力する」でテーブルデータを入力してください");
const QString PageNotWritten = QStringLiteral("%1のページを作成出来ませんでした");
const QString DefinitionUnreadable = QStringLiteral("テーブル定義 %1 を読み込めませんでした");
const QString PagesPartlyWritten = QStringLiteral("%1件のページを作成しました（%2件は作成出来ませんでした）");
const QString PagesCancelled =
    QStringLiteral("中止しました。%1件のページを作成しました（%2件は作成していません）");

namespace {

/// The first line, then the failure's file and reason.
QStringList withFailure(const QString& first, const std::optional<IoError>& failure) {
    return failure ? QStringList{first, failure->path(), failure->reason()} : QStringList{first};
}

} // namespace

QString tableLabel(int number, const QString& title) {
    return QStringLiteral("テーブル %1「%2」").arg(number).arg(title);
}

QString unusableFileNameText(int number, const QString& title) {
    return FileNameUnusableIn.arg(QString::number(number), title);
}

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

QStringList pageMessageLines(const PageMessage& message) {
    switch (message.event) {
    case PageEvent::ScratchFilesRemoved:
        return {LeftScratchFilesRemoved.arg(message.files).arg(message.bytes).arg(message.path)};
    case PageEvent::DefinitionUnreadable:
        return withFailure(DefinitionUnreadable.arg(message.number), message.ioError);
    case PageEvent::FileNameUnusable:
        return {unusableFileNameText(message.number, message.title)};
    case PageEvent::HeaderMissing:
        return {HeaderMissing};
    case PageEvent::FooterMissing:
        return {FooterMissing};
    case PageEvent::TableDataNotEntered:
        return {TableDataNotEntered.arg(tableLabel(message.number, message.title)), message.path};
    case PageEvent::PageNotWritten:
        return withFailure(PageNotWritten.arg(tableLabel(message.number, message.title)), message.ioError);
    case PageEvent::NoTableMaster:
        return {NoData};
    case PageEvent::Finished:
        return {PagesFinished};
    case PageEvent::PartlyWritten:
        return {PagesPartlyWritten.arg(message.written).arg(message.notWritten)};
    case PageEvent::Cancelled:
        break;
    }
    return {PagesCancelled.arg(message.written).arg(message.notWritten)};
}

QString pageMessageText(const PageMessage& message) {
    return pageMessageLines(message).join(QLatin1Char('\n'));
}

} // namespace kelvano::Messages
