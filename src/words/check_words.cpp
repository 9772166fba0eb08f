#include "words/check_words.h"

#include "core/store/failure_reasons.h"

namespace kelvano::Messages {
const QString CheckHeaderNotChosen = QStringLiteral("ヘッダが選ばれていません");
const QString CheckHeaderBodyMissing = QStringLiteral("ヘッダファイルがありません（%1）");
const QString CheckFooterNotChosen = QStringLiteral("フッタが選ばれていません");
const QString CheckFooterBodyMissing = QStringLiteral("フッタファイルがありません（%1）");
const QString CheckNoDataFile = QStringLiteral("データファイルがありません（%1）");
const QString CheckDataFileUnreadable = QStringLiteral("データファイルを読み込めません（%1: %2）");
const QString CheckPictureMissing = QStringLiteral("画像「%1」が画像フォルダにありません");
const QString CheckBackgroundMissing = QStringLiteral("背景画像「%1」が画像フォルダにありません");
const QString CheckServerImagePath = QStringLiteral(
    "サーバでの画像格納場所「%1」ではHTMLフォルダから画像フォルダに届きません（「%2」のはずです）");
const QString CheckNoCharset =
    QStringLiteral("ヘッダにもフッタにも文字コードの指定（charset=%1）がありません");
const QString CheckCharsetOther = QStringLiteral("文字コードの指定「%1」がページの文字コード %2 と違います");
const QString CheckHiddenText = QStringLiteral("列の数 %1 より後ろの列に文字が残っています（列 %2）");
const QString CheckLocalPageMissing = QStringLiteral("リンク先「%1」がHTMLフォルダにありません");
const QString CheckWideForPhones =
    QStringLiteral("表の幅 %1 ピクセルはスマートフォンの画面（360 ピクセル）より広く、横にスクロールしません"
                   "（「スマートフォンでは横にスクロール」）");
const QString CheckHeaderMarkup = QStringLiteral("ヘッダ %1 行目 (HTML5 の検査): %2");
const QString CheckFooterMarkup = QStringLiteral("フッタ %1 行目 (HTML5 の検査): %2");
const QString CheckBackslashInPath =
    QStringLiteral("パスに \\ が含まれています（「%1」）。Webサーバーでは区切りに / を使います");
const QString CheckNameCaseDiffers = QStringLiteral(
    "「%1」はフォルダでは「%"
    "2」です。大文字・小文字が違うとWebサーバーで見つかりません。どちらかの名前を変えてください");
const QString CheckNameInShiftJis = QStringLiteral(
    "「%1」のファイル名が Shift-JIS のままです。起動時の「ファイル名の文字コードを直す」で直せます");
const QString CheckNameAmbiguous =
    QStringLiteral("「%1」に当たるファイルが複数あります（%2）。「%3」を使います");

QString findingText(const PageFinding& finding) {
    const QString& subject = finding.subject;
    switch (finding.kind) {
    case FindingKind::DefinitionUnreadable:
        return finding.ioError ? finding.ioError->message() : QString();
    case FindingKind::FileNameUnusable:
        return Messages::FileNameUnusable;
    case FindingKind::HeaderNotChosen:
        return CheckHeaderNotChosen;
    case FindingKind::HeaderBodyMissing:
        return CheckHeaderBodyMissing.arg(subject);
    case FindingKind::FooterNotChosen:
        return CheckFooterNotChosen;
    case FindingKind::FooterBodyMissing:
        return CheckFooterBodyMissing.arg(subject);
    case FindingKind::CharsetOther:
        return CheckCharsetOther.arg(subject, finding.detail);
    case FindingKind::NoCharset:
        return CheckNoCharset.arg(finding.detail);
    case FindingKind::HeaderMarkup:
        return CheckHeaderMarkup.arg(finding.figure).arg(finding.detail);
    case FindingKind::FooterMarkup:
        return CheckFooterMarkup.arg(finding.figure).arg(finding.detail);
    case FindingKind::NoDataFile:
        return CheckNoDataFile.arg(subject);
    case FindingKind::DataFileUnreadable:
        return CheckDataFileUnreadable.arg(subject, finding.detail);
    case FindingKind::PictureMissing:
        return CheckPictureMissing.arg(subject);
    case FindingKind::BackgroundMissing:
        return CheckBackgroundMissing.arg(subject);
    case FindingKind::ServerImagePath:
        return CheckServerImagePath.arg(subject, finding.detail);
    case FindingKind::HiddenText:
        return CheckHiddenText.arg(finding.figure).arg(finding.names.join(QStringLiteral(", ")));
    case FindingKind::BackslashInPath:
        return CheckBackslashInPath.arg(subject);
    case FindingKind::NameInShiftJis:
        return CheckNameInShiftJis.arg(subject);
    case FindingKind::NameCaseDiffers:
        return CheckNameCaseDiffers.arg(subject, finding.detail);
    case FindingKind::NameAmbiguous:
        return CheckNameAmbiguous.arg(subject, finding.names.join(QStringLiteral("、")), finding.detail);
    case FindingKind::WideForPhones:
        return CheckWideForPhones.arg(finding.figure);
    case FindingKind::LocalPageMissing:
        break;
    }
    return CheckLocalPageMissing.arg(subject);
}

QString findingLine(const PageFinding& finding) {
    return QStringLiteral("%1 %2: %3").arg(finding.number).arg(finding.title, findingText(finding));
}

} // namespace kelvano::Messages
