#pragma once

#include <QString>

// The texts of the messages the program shows for the failures its files anticipate. The windows and
// the page generator show them exactly as they stand.

namespace kelvano::Messages {

inline const QString Caption = QStringLiteral("TAVELO");

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

} // namespace kelvano::Messages
