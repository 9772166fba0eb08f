#include "core/shell/list_texts.h"

#include <QTimeZone>

namespace kelvano::ListTexts {

QString sizeText(qint64 size) {
    const qint64 kilobytes = std::max<qint64>(size, 0) / 1024 + 1;
    return QStringLiteral("%1KB").arg(kilobytes, 8);
}

QString dateText(const QDateTime& lastWrite) {
    if (!lastWrite.isValid()) {
        return {};
    }
    const QDateTime local = lastWrite.toLocalTime();
    // File times are kept at two-second resolution in the date texts, as the shell's DOS times are.
    const QTime time = local.time();
    const QTime even(time.hour(), time.minute(), time.second() - time.second() % 2);
    return QDateTime(local.date(), even).toString(QStringLiteral("yy/MM/dd HH:mm"));
}

QString upperAscii(QStringView text) {
    QString result = text.toString();
    for (QChar& character : result) {
        if (character >= u'a' && character <= u'z') {
            character = QChar(character.unicode() - u'a' + u'A');
        }
    }
    return result;
}

QString extensionOf(QStringView parsingName) {
    const QStringView component = parsingName.mid(parsingName.lastIndexOf(u'/') + 1);
    const qsizetype dot = component.lastIndexOf(u'.');
    return dot < 0 ? QString() : component.mid(dot).toString();
}

bool passesMask(const QStringList& mask, QStringView parsingName, bool folder) {
    if (mask.isEmpty() || folder) {
        return true;
    }
    const QString extension = upperAscii(extensionOf(parsingName));
    if (extension.isEmpty()) {
        return false;
    }
    for (const QString& entry : mask) {
        if (upperAscii(entry) == extension) {
            return true;
        }
    }
    return false;
}

} // namespace kelvano::ListTexts
