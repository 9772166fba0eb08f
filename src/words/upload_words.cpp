#include "words/upload_words.h"

#include "core/publish/server_trust.h"

namespace kelvano::Messages {

const QString UploadFinished =
    QStringLiteral("%1件のファイルを送信しました（%2件は変更がないため送信しませんでした）");
const QString UploadPageNotWritten = QStringLiteral("%1: ページがまだ作成されていないため送信しません (%2)");
const QString UploadPictureMissing = QStringLiteral("%1: 画像フォルダに %2 がないため送信しません");
const QString UploadImagePathUnusable =
    QStringLiteral("サーバでの画像格納場所がHTMLフォルダの下を指していないため、画像は送信しません");
const QString UploadFileFailed =
    QStringLiteral("%1 を送信できませんでした: %2（サーバーのファイルは元のままです）");
const QString UploadFileStarting = QStringLiteral("送信中 %1/%2: %3 (%4 バイト)");
const QString UploadNoServer =
    QStringLiteral("サーバーが設定されていません (KELVANO.INI の [Server] の Host と User)");
const QString UploadPasswordPrompt = QStringLiteral("%1 のパスワード: ");
const QString UploadTrustHostKey = QStringLiteral(
    "サーバー %1 のホスト鍵はまだ信頼されていません。\n指紋: %2\nこの鍵を信頼して接続しますか?");
const QString UploadTrustCertificate = QStringLiteral(
    "サーバー %1 の証明書は確認できませんでした (%3)。\n公開鍵の指紋: %2\nこの証明書を信頼して接続しますか?");
const QString UploadNotTried = QStringLiteral("%1件のファイルは送信しませんでした");
const QString UploadWouldRemove = QStringLiteral("サーバーから削除します: %1");
const QString UploadRemoveQuestion = QStringLiteral("これらのファイルをサーバーから削除しますか?");
const QString UploadRemoved = QStringLiteral("%1件のファイルをサーバーから削除しました");
const QString UploadNothingToRemove = QStringLiteral("サーバーから削除するファイルはありません");
const QString UploadRemoveFailed =
    QStringLiteral("%1 をサーバーから削除できませんでした: %2（サーバーのファイルは元のままです）");

namespace {

/// %1 the server's or library's words.
const QString UploadUnreachable = QStringLiteral("サーバーに接続できませんでした: %1");
const QString UploadLoginRefused =
    QStringLiteral("ログインできませんでした (ユーザー名、パスワードまたは鍵が違います): %1");
const QString UploadHostKeyNotTrusted = QStringLiteral("ホスト鍵を信頼しなかったため接続しませんでした");
/// %1 the server, %2 the trusted fingerprint, %3 the offered one, %4 the known-hosts file.
const QString UploadHostKeyChanged = QStringLiteral(
    "サーバー %1 のホスト鍵が変わっています。接続しませんでした。\n信頼している鍵: %2\nサーバーが示した鍵: "
    "%3\nサーバーの管理者に鍵が変わったことを確かめてから、%4 の %1 の行を削除してください");
const QString UploadCertificateNotTrusted =
    QStringLiteral("証明書を信頼しなかったため接続しませんでした: %1");
/// %1 the server, %2 the pinned fingerprint, %3 the offered one, %4 the pins file.
const QString UploadCertificateChanged =
    QStringLiteral("サーバー %1 の証明書が変わっています。接続しませんでした。\n信頼している証明書: %2\n"
                   "サーバーが示した証明書: %3\nサーバーの管理者に証明書が変わったことを確かめてから、%4 の "
                   "%1 の行を削除してください");
const QString UploadCancelled = QStringLiteral("送信を中止しました");
const QString UploadConnectionBroken = QStringLiteral("サーバーとの接続が切れました: %1");

} // namespace

QString remoteFailureText(const RemoteFailure& failure, const QString& serverName,
                          const QString& programFolder) {
    using Kind = RemoteFailure::Kind;
    switch (failure.kind) {
    case Kind::Unreachable:
        return UploadUnreachable.arg(failure.reason);
    case Kind::LoginRefused:
        return UploadLoginRefused.arg(failure.reason);
    case Kind::HostKeyNotTrusted:
        return UploadHostKeyNotTrusted;
    case Kind::HostKeyChanged:
        return UploadHostKeyChanged.arg(serverName, failure.known, failure.offered,
                                        ServerTrust::knownHostsPath(programFolder));
    case Kind::CertificateNotTrusted:
        return UploadCertificateNotTrusted.arg(failure.reason);
    case Kind::CertificateChanged:
        return UploadCertificateChanged.arg(serverName, failure.known, failure.offered,
                                            ServerTrust::pinnedCertificatesPath(programFolder));
    case Kind::Cancelled:
        return UploadCancelled;
    case Kind::Connection:
        return UploadConnectionBroken.arg(failure.reason);
    case Kind::Transfer:
        break;
    }
    return failure.reason;
}

} // namespace kelvano::Messages
