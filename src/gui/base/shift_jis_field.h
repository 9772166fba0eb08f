#pragma once

#include <QByteArray>
#include <QString>
#include <QValidator>

class QLineEdit;

namespace kelvano {

/// Keeps a line edit's text storable as code page 932: a typed or pasted character that the code page
/// cannot hold is refused with a message. With a capacity, typing stops when the encoded text would
/// grow beyond that many bytes, and pasted text that does not fit is cut at a character boundary with
/// a message. Text loaded from stored bytes and left unchanged gives back exactly those bytes, even
/// where a cut split a double-byte character.
class ShiftJisField : public QValidator {
    Q_OBJECT

public:
    /// Watches the edit (and is owned by it); capacity 0 means no limit.
    static ShiftJisField* attach(QLineEdit* edit, qsizetype capacity);

    /// Shows stored bytes in the edit.
    void setBytes(const QByteArray& bytes);
    /// The edit's text as stored bytes, cut to the capacity.
    QByteArray bytes() const;

    State validate(QString& input, int& position) const override;

private:
    ShiftJisField(QLineEdit* edit, qsizetype capacity);

    QLineEdit* m_edit;
    qsizetype m_capacity;
    QString m_current;
    QByteArray m_loadedBytes;
    QString m_loadedText;
    bool m_hasLoaded = false;
};

/// The characters of the text that code page 932 cannot hold, apart from the replacement character
/// that stands for a broken stored byte; empty when the text can be stored.
QString unstorableCharacters(QStringView text);

/// The longest start of the text whose code page 932 encoding takes at most `bytes` bytes; a character
/// is never split, surrogate pairs included.
QString fittingStart(QStringView text, qsizetype bytes);

} // namespace kelvano
