#include "core/store/failure_reasons.h"

namespace kelvano::Messages {

// The system's error numbers
const QString NoSuchFileOrFolder = QStringLiteral("ファイルまたはフォルダがありません");
const QString PermissionDenied = QStringLiteral("アクセスする権限がありません");
const QString DiskFull = QStringLiteral("ディスクの空き容量が足りません");
const QString FileTooLarge = QStringLiteral("ファイルが大きすぎます（ファイルサイズの上限を超えました）");
const QString ReadOnlyFileSystem = QStringLiteral("読み取り専用のファイルシステムです");
const QString NameTooLong = QStringLiteral("ファイル名が長すぎます");
const QString NotAFolder = QStringLiteral("パスの途中にフォルダでないものがあります");
const QString IsAFolder = QStringLiteral("ファイルではなくフォルダです");
const QString LinkLoop = QStringLiteral("シンボリックリンクが循環しています");
const QString NotAPlainFile = QStringLiteral("通常のファイルではありません（パイプやデバイスなど）");
const QString FileChangedSinceRead = QStringLiteral("読み込んだあとでファイルが変わりました");
const QString DeviceError = QStringLiteral("装置の入出力エラーです");
const QString AlreadyThere = QStringLiteral("同じ名前のファイルまたはフォルダが既にあります");
const QString UnknownIoReason = QStringLiteral("読み書き出来ませんでした（原因不明）");

// Faults the store finds in its own files
const QString ReadPastEnd = QStringLiteral("ファイルの終わりを越えて読み込もうとしました");
const QString WritePastEnd = QStringLiteral("ファイルの終わりを越えた位置には書き込めません");
const QString IncompleteLastRecord = QStringLiteral("ファイルの終わりに不完全なレコードがあります");
const QString SettingsFileShort = QStringLiteral("%1バイトしかありません（%2バイト必要です）");
const QString FileNameUnusable = QStringLiteral("ファイル名に使用出来ない文字が含まれています");

} // namespace kelvano::Messages
