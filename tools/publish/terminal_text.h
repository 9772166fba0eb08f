#pragma once

#include <QByteArray>
#include <QString>

namespace kelvano {

/// Converts text to the terminal's encoding: the character set that the locale names (ja_JP.eucJP
/// gives EUC-JP), UTF-8 when it names none or one that is unknown. Characters the encoding cannot
/// hold become "?".
class TerminalText {
public:
    TerminalText();
    explicit TerminalText(const QByteArray& charset);

    QByteArray encode(const QString& text) const;

private:
    QByteArray m_charset;
};

/// Stored text made safe for a terminal: control characters (C0, DEL, C1), which could move the
/// cursor or change the terminal's state, are written as escapes: \t, \n, \r, the rest as \xHH;
/// a backslash is doubled, so that an escape is never ambiguous.
QString escapeControlCharacters(QStringView text);

/// The character set named by the locale variables; empty when they name none.
QByteArray localeCharset();

} // namespace kelvano
