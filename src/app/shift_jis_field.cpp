#include "app/shift_jis_field.h"

#include "app/user_dialogs.h"
#include "store/record_fields.h"
#include "store/shift_jis.h"

#include <QLineEdit>

namespace kelvano {

QString unstorableCharacters(QStringView text) {
    QString unstorable = ShiftJis::encode(text).unencodable;
    unstorable.remove(QChar::ReplacementCharacter);
    return unstorable;
}

ShiftJisField* ShiftJisField::attach(QLineEdit* edit, qsizetype capacity) {
    return new ShiftJisField(edit, capacity);
}

ShiftJisField::ShiftJisField(QLineEdit* edit, qsizetype capacity)
    : QValidator(edit), m_edit(edit), m_capacity(capacity), m_current(edit->text()) {
    edit->setValidator(this);
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_current = text; });
}

QValidator::State ShiftJisField::validate(QString& input, int&) const {
    // The line edit asks only about edits the user makes; text the program sets is not checked.
    if (input == m_current) {
        return Acceptable;
    }
    const QString unstorable = unstorableCharacters(input);
    if (!unstorable.isEmpty()) {
        UserDialogs::show(m_edit->window(), MessageIcon::Error,
                          Messages::UnencodableCharacters.arg(unstorable));
        return Invalid;
    }
    if (m_capacity > 0) {
        const qsizetype length = ShiftJis::encode(input).bytes.size();
        if (length > m_capacity && length > ShiftJis::encode(m_current).bytes.size()) {
            return Invalid;
        }
    }
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
