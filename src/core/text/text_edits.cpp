#include "core/text/text_edits.h"

#include "core/store/file_names.h"
#include "core/store/shift_jis.h"

#include <algorithm>

namespace kelvano::StringUtil {
namespace {

constexpr int MaxPadding = 80;

QByteArray padding(qsizetype textSize, quint8 width) {
    return QByteArray(std::clamp<qsizetype>(width - textSize, 0, MaxPadding), ' ');
}

} // namespace

QByteArray strclear(QByteArrayView text) {
    QByteArray cleared;
    cleared.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            cleared.append(c);
        }
    }
    return cleared;
}

QByteArray yencut(QByteArrayView text) {
    QByteArray cut;
    cut.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (ShiftJis::isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            cut.append(c);
            cut.append(text[++i]);
        } else if (c != ',' && c != '\\') {
            cut.append(c);
        }
    }
    return cut;
}

bool strcheck(QByteArrayView text, QByteArrayView prefix) {
    return text.startsWith(prefix);
}

QByteArray strget(QByteArrayView text, QByteArrayView prefix) {
    return text.size() > prefix.size() ? text.sliced(prefix.size()).toByteArray() : QByteArray();
}

QByteArray spastr(QByteArrayView text, quint8 width) {
    return text.toByteArray() + padding(text.size(), width);
}

QByteArray spastr2(QByteArrayView text, quint8 width) {
    return padding(text.size(), width) + text.toByteArray();
}

QByteArray AddEndPath(QByteArrayView folder) {
    return withTrailingSeparator(folder);
}

QString AddEndPath(const QString& folder) {
    return withTrailingSeparator(folder);
}

} // namespace kelvano::StringUtil
