#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

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

/// Writes whole lines to standard output and standard error in the terminal's encoding, each flushed at
/// once so that the two streams keep their order on a terminal.
class Console {
public:
    /// With `escapeEverything`, every line has its control characters escaped (for commands whose
    /// every line may carry stored texts or paths); otherwise the callers escape what needs it.
    Console(std::FILE* out, std::FILE* err, bool escapeEverything = false);

    void out(const QString& line) const;
    void err(const QString& line) const;

private:
    void put(std::FILE* stream, const QString& line) const;

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_escapeEverything;
    TerminalText m_text;
};

/// Stored text made safe for a terminal: control characters (C0, DEL, C1), which could move the
/// cursor or change the terminal's state, are written as escapes: \t, \n, \r, the rest as \xHH;
/// a backslash is doubled, so that an escape is never ambiguous.
QString escapeControlCharacters(QStringView text);

/// The character set of the locale as its variables name it (LC_ALL, else LC_CTYPE, else LANG); empty
/// when they name none. Read from the name itself: Qt takes every Unix locale to be UTF-8, and the C
/// library knows only the locales installed on the machine, while a terminal may use one that is not.
QByteArray localeCharset();

} // namespace kelvano
