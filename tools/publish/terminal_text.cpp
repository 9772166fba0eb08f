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

} // namespace kelvano
