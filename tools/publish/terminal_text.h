#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

struct UConverter;

namespace kelvano {

/// Converts text to the terminal's encoding: the character set that the locale variables name
/// (LC_ALL, else LC_CTYPE, else LANG: ja_JP.eucJP gives EUC-JP), UTF-8 when they name none or one
/// that is unknown. Characters the encoding cannot hold become its substitution character.
class TerminalText {
public:
    TerminalText();
    explicit TerminalText(const QByteArray& charset);

    QByteArray encode(const QString& text) const;

private:
    struct Closer {
        void operator()(UConverter* converter) const;
    };
    std::unique_ptr<UConverter, Closer> m_converter;
};

/// Stored text made safe for a terminal: control characters (C0, DEL, C1), which could move the
/// cursor or change the terminal's state, are written as escapes: \t, \n, \r, the rest as \xHH;
/// a backslash is doubled, so that an escape is never ambiguous.
QString escapeControlCharacters(QStringView text);

/// The character set named by the locale variables; empty when they name none.
QByteArray localeCharset();

} // namespace kelvano
