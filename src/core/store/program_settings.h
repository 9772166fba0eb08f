#pragma once

#include "core/store/server_settings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kelvano {

/// The encoding of the written pages: the stored code page 932 bytes as they are, or UTF-8.
enum class PageEncoding { ShiftJis, Utf8 };

/// The markup of the written tables: the classic upper-case markup with presentational attributes and
/// FONT elements, or HTML5 with the same look given as CSS.
enum class PageMarkup { Classic, Html5 };

/// KELVANO.INI in the program folder, beside TAVELO.DAT: the program-wide settings that belong to no
/// record. Read and written here only, as an INI file (QSettings). A missing file, key or unknown value
/// gives the default of each setting.
namespace ProgramSettings {

inline const QString FileName = QStringLiteral("KELVANO.INI");

/// "Shift_JIS" or "UTF-8", as the file and kelvano-publish's --encoding write them.
QString pageEncodingName(PageEncoding encoding);
/// The encoding a name stands for, without regard to ASCII case; nullopt for any other name.
std::optional<PageEncoding> pageEncodingFromName(QStringView name);

/// `Pages/Encoding`; Shift_JIS when the file, the key or a known value is missing.
PageEncoding pageEncoding(const QString& programFolder);
/// Stores `Pages/Encoding`, keeping the file's other keys; false when the file cannot be written.
bool setPageEncoding(const QString& programFolder, PageEncoding encoding);

/// "Classic" or "HTML5", as the file and kelvano-publish's --markup write them.
QString pageMarkupName(PageMarkup markup);
/// The markup a name stands for, without regard to ASCII case; nullopt for any other name.
std::optional<PageMarkup> pageMarkupFromName(QStringView name);

/// `Pages/Markup`; Classic when the file, the key or a known value is missing.
PageMarkup pageMarkup(const QString& programFolder);
/// Stores `Pages/Markup`, keeping the file's other keys; false when the file cannot be written.
bool setPageMarkup(const QString& programFolder, PageMarkup markup);

/// The group `Server` (Protocol, Host, Port, User, Authentication, KeyFile, RemoteFolder, SavePassword);
/// defaults where the file or a key is missing. There is no password key, and none is ever written.
ServerSettings serverSettings(const QString& programFolder);
/// Stores the group `Server`, keeping the file's other keys; false when the file cannot be written.
bool setServerSettings(const QString& programFolder, const ServerSettings& server);
/// The group `Window`: where the user left the windows (`Page`, the main window's page; `Editor` and
/// `Help`, the table data editor's and the help window's place; `PictureFolder`, the picture picker's
/// last folder). An empty text when the file or the key is missing.
QString windowState(const QString& programFolder, const QString& key);
/// Stores `Window/<key>`, keeping the file's other keys; the file is not touched when it holds the
/// value already. False when the file cannot be written.
bool setWindowState(const QString& programFolder, const QString& key, const QString& value);

/// A value of the file that no setting knows (Encoding=EBCDIC), and the value used instead.
struct UnknownValue {
    QString key;
    QString value;
    QString used;
};
/// What the file holds that no setting knows.
QList<UnknownValue> unknownValues(const QString& programFolder);

} // namespace ProgramSettings
} // namespace kelvano
