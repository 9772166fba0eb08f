#include "gui/base/shift_jis_field.h"

#include "core/store/record_fields.h"
#include "core/store/shift_jis.h"
#include "gui/base/user_dialogs.h"

#include <QLineEdit>
#include <algorithm>

namespace kelvano {

QString unstorableCharacters(QStringView text) {
    QString unstorable = ShiftJis::encode(text).unencodable;
    unstorable.remove(QChar::ReplacementCharacter);
    return unstorable;
}

namespace {

qsizetype encodedLength(QStringView text) {
    return ShiftJis::encode(text).bytes.size();
}

} // namespace

QString fittingStart(QStringView text, qsizetype bytes) {
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype width = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const qsizetype length = encodedLength(text.mid(end, width));
        if (used + length > bytes) {
            break;
        }
        used += length;
        end += width;
    }
    return text.first(end).toString();
}

ShiftJisField* ShiftJisField::attach(QLineEdit* edit, qsizetype capacity) {
    return new ShiftJisField(edit, capacity);
}

ShiftJisField::ShiftJisField(QLineEdit* edit, qsizetype capacity)
    : QValidator(edit), m_edit(edit), m_capacity(capacity), m_current(edit->text()) {
    edit->setValidator(this);
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_current = text; });
}

QValidator::State ShiftJisField::validate(QString& input, int& position) const {
    if (input == m_current || (m_hasLoaded && input == m_loadedText)) {
        return Acceptable;
    }
    const QString unstorable = unstorableCharacters(input);
    if (!unstorable.isEmpty()) {
        UserDialogs::show(m_edit->window(), MessageIcon::Error,
                          Messages::UnencodableCharacters.arg(unstorable));
        return Invalid;
    }
    if (m_capacity <= 0) {
        return Acceptable;
    }
    const qsizetype length = encodedLength(input);
    const qsizetype currentLength = encodedLength(m_current);
    if (length <= m_capacity || length <= currentLength) {
        return Acceptable;
    }
    // The edit put new text between the start and the end it kept of the old text: only that new
    // text is cut, never a character of it in half.
    const qsizetype shorter = std::min(input.size(), m_current.size());
    qsizetype start = 0;
    while (start < shorter && input.at(start) == m_current.at(start)) {
        ++start;
    }
    if (start > 0 && input.at(start - 1).isHighSurrogate()) {
        --start;
    }
    qsizetype end = 0;
    while (end < shorter - start &&
           input.at(input.size() - 1 - end) == m_current.at(m_current.size() - 1 - end)) {
        ++end;
    }
    if (end > 0 && input.at(input.size() - end).isLowSurrogate()) {
        --end;
    }
    const QStringView head = QStringView(input).first(start);
    const QStringView tail = QStringView(input).last(end);
    const QStringView inserted = QStringView(input).sliced(start, input.size() - start - end);
    const qsizetype room = std::max(m_capacity, currentLength) - encodedLength(head) - encodedLength(tail);
    const QString fitted = fittingStart(inserted, std::max<qsizetype>(room, 0));
    // One typed character that does not fit is refused quietly: typing simply stops at the capacity.
    const bool oneCharacter =
        inserted.size() == 1 || (inserted.size() == 2 && inserted.at(0).isHighSurrogate());
    if (oneCharacter) {
        return Invalid;
    }
    UserDialogs::show(m_edit->window(), MessageIcon::Information,
                      Messages::TextCutToCapacity.arg(m_capacity));
    if (fitted.isEmpty()) {
        return Invalid;
    }
    QString cut = head.toString();
    cut += fitted;
    cut += tail;
    input = cut; // last: head and tail look into the old input
    position = static_cast<int>(start + fitted.size());
    return Acceptable;
}

void ShiftJisField::setBytes(const QByteArray& bytes) {
    m_loadedBytes = bytes;
    m_loadedText = ShiftJis::decode(bytes);
    m_hasLoaded = true;
    m_edit->setText(m_loadedText);
}

QByteArray ShiftJisField::bytes() const {
    const QString text = m_edit->text();
    const QByteArray bytes =
        m_hasLoaded && text == m_loadedText ? m_loadedBytes : ShiftJis::encode(text).bytes;
    return m_capacity > 0 ? cutToCapacity(bytes, m_capacity) : bytes;
}

} // namespace kelvano
