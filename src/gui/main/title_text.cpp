#include "gui/main/title_text.h"

#include "kelvano_version.h"

#include <array>

namespace kelvano::TitleText {
namespace {

const QString VersionLine = QStringLiteral("Kelvano [TAVELO] Version " KELVANO_VERSION);
const QString NoticeLine = QStringLiteral("このソフトウェアはフリーソフトウェアです。");

const std::array<QString, 24> HourGreetings = {
    QStringLiteral("もう０時ですよ、頑張っていますね(^^)/"),
    QStringLiteral("１時です、もう止めようよぉ、眠いの(T_T)"),
    QStringLiteral("むむむー２時です、眠いぞ、ほえほえ( ;;)/~~~"),
    QStringLiteral("３時です、丑の刻参りにでも行きますか？"),
    QStringLiteral("あうー、もう４時だぁ、ちょっと辛いです"),
    QStringLiteral("寝かせてくれぇ、５時だぁ"),
    QStringLiteral("早起き？、それとも徹夜？、６時です"),
    QStringLiteral("仕事前にも使ってくれるの？、うれしいですねぇ、ふふふの７時"),
    QStringLiteral("今日も頑張りましょう、８時です"),
    QStringLiteral("鯨（９時ら）......ごめんなさい"),
    QStringLiteral("１０時ですね"),
    QStringLiteral("１１時です、お昼まで、あと ちょっと頑張ってぇ"),
    QStringLiteral("わははは、お昼だ、お昼だ、うれしいなぁ"),
    QStringLiteral("お腹が一杯で眠い１３時の今日この頃"),
    QStringLiteral("さてと、かきかきしましょ"),
    QStringLiteral("３時のおやつはは文明堂"),
    QStringLiteral("４時かぁ、もうちょっとかな？"),
    QStringLiteral("今日はお仕事でしたか？"),
    QStringLiteral("今日の夕食なんですか？"),
    QStringLiteral("７時です。"),
    QStringLiteral("そろそろお風呂？"),
    QStringLiteral("クジラ...止めようよ（笑）"),
    QStringLiteral("１１時です、そろそろお眠？、それとも頑張る？"),
    QStringLiteral("がははは、テレホタイム突入ですね"),
};

} // namespace

QStringList welcomeLines() {
    return {VersionLine,
            NoticeLine,
            QString(),
            QStringLiteral("Kelvano TAVELO をお使い頂きありがとうございます"),
            QString(),
            QStringLiteral("はじめての方へ：次の五つの手順で一枚目のページができます"),
            QStringLiteral("1. 「環境設定」で「フォルダ自動設定」を押す"),
            QStringLiteral("2. 「ヘッダ・フッタ作成・登録」でヘッダとフッタの HTML を書いて登録する"),
            QStringLiteral("3. 「テーブル設定」で「新規作成」、項目名とファイル名を入れて「登録・変更」"),
            QStringLiteral("4. 「データ」で表を選び「テーブルデータを入力する」、入力して「保存・閉じる」"),
            QStringLiteral("5. 表にチェックを付けて「テーブルをHTML形式で出力」")};
}

QStringList greetingLines(const QDateTime& now) {
    QStringList lines{VersionLine, NoticeLine, QString(), HourGreetings.at(now.time().hour())};
    const QDate today = now.date();
    if (today.month() == 3 && today.day() == 1) {
        lines << QString() << QStringLiteral("今日は作者の誕生日です")
              << QStringLiteral("お祝いのメールでも送ってやってくださいな -> ") + MailAddress;
    }
    return lines;
}

} // namespace kelvano::TitleText
