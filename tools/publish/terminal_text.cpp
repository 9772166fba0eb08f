#include "terminal_text.h"

#include <unicode/ucnv.h>

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

void TerminalText::Closer::operator()(UConverter* converter) const {
    ucnv_close(converter);
}

TerminalText::TerminalText() : TerminalText(localeCharset()) {}

TerminalText::TerminalText(const QByteArray& charset) {
    UErrorCode status = U_ZERO_ERROR;
    if (!charset.isEmpty()) {
        m_converter.reset(ucnv_open(charset.constData(), &status));
    }
    if (!m_converter || U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_converter.reset(ucnv_open("UTF-8", &status));
    }
}

QByteArray TerminalText::encode(const QString& text) const {
    const auto* source = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed = ucnv_fromUChars(m_converter.get(), nullptr, 0, source, length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return text.toUtf8();
    }
    QByteArray bytes(needed, '\0');
    status = U_ZERO_ERROR;
    ucnv_fromUChars(m_converter.get(), bytes.data(), needed, source, length, &status);
    return U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING ? text.toUtf8() : bytes;
}

} // namespace kelvano
