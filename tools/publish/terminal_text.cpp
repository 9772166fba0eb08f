#include "terminal_text.h"

#include <QStringEncoder>

namespace kelvano {

QString escapeControlCharacters(QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\\') {
            escaped += QStringLiteral("\\\\");
        } else if (code == u'\t') {
            escaped += QStringLiteral("\\t");
        } else if (code == u'\n') {
            escaped += QStringLiteral("\\n");
        } else if (code == u'\r') {
            escaped += QStringLiteral("\\r");
        } else if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
            escaped += QStringLiteral("\\x") + QString::number(code, 16).rightJustified(2, u'0');
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray localeCharset() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (value.isEmpty()) {
            continue;
        }
        // language_TERRITORY.charset@modifier
        const qsizetype dot = value.indexOf('.');
        if (dot < 0) {
            return {};
        }
        const qsizetype at = value.indexOf('@', dot);
        return value.mid(dot + 1, at < 0 ? -1 : at - dot - 1);
    }
    return {};
}

TerminalText::TerminalText() : TerminalText(localeCharset()) {}

TerminalText::TerminalText(const QByteArray& charset)
    : m_charset(!charset.isEmpty() && QStringEncoder(charset.constData()).isValid() ? charset
                                                                                    : QByteArray("UTF-8")) {}

QByteArray TerminalText::encode(const QString& text) const {
    // A new encoder for every text: each line stands alone, also in an encoding with shift states.
    QStringEncoder encoder(m_charset.constData());
    return encoder.encode(text);
}

Console::Console(std::FILE* out, std::FILE* err, bool escapeEverything)
    : m_out(out), m_err(err), m_escapeEverything(escapeEverything) {}

void Console::out(const QString& line) const {
    put(m_out, line);
}

void Console::err(const QString& line) const {
    put(m_err, line);
}

void Console::put(std::FILE* stream, const QString& line) const {
    const QString shown = m_escapeEverything ? escapeControlCharacters(line) : line;
    const QByteArray bytes = m_text.encode(shown + QLatin1Char('\n'));
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace kelvano
