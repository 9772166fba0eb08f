#pragma once

#include "core/text/csv_fields.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

class QWidget;

namespace kelvano {

/// The string utility component a window owns: text and number operations on code page 932 texts,
/// line filters on text files and message boxes showing a value. Apart from the fields discsv fills,
/// it holds no state; windows that need only one operation may call the StringUtil function directly.
class ZelStringEX : public QObject, public StringUtil::CsvFields {
    Q_OBJECT

public:
    explicit ZelStringEX(QObject* parent = nullptr);

    void discsv(QByteArrayView line);
    /// The line filters throw IoError when a file fails after it was opened.
    void Cutline(const QString& fileName, QByteArrayView key) const;
    void FCutline(const QString& fileName, QByteArrayView key) const;
    void Exline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) const;
    void FExline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) const;
    QByteArray zero(quint16 value) const;
    QByteArray spc(quint16 value) const;
    QByteArray bytestr(quint8 value) const;
    QByteArray wordstr(quint16 value) const;
    QByteArray intstr(qint32 value) const;
    QByteArray longstr(qint32 value) const;
    QByteArray strclear(QByteArrayView text) const;
    bool strcheck(QByteArrayView text, QByteArrayView prefix) const;
    QByteArray spastr(QByteArrayView text, quint8 width) const;
    QByteArray spastr2(QByteArrayView text, quint8 width) const;
    QByteArray strget(QByteArrayView text, QByteArrayView prefix) const;
    QByteArray dtoh(quint8 value) const;
    QByteArray hex3(qint32 colour) const;
    QByteArray dtoc(qint32 value) const;
    /// Dot2 and Round2 read the exponent form that StringUtil::exponentForm gives.
    QByteArray Dot2(QByteArrayView form) const;
    QByteArray Round2(QByteArrayView form) const;
    QByteArray AddEndPath(QByteArrayView folder) const;
    QByteArray yencut(QByteArrayView text) const;
    qint32 nextdate(QByteArrayView date) const;
    qint32 nextdated(QByteArrayView date) const;
    /// Message boxes owned by `owner`, captioned "ZELSTRINGEX MESSAGE", showing the value's text.
    void bytebox(QWidget* owner, quint8 value) const;
    void wordbox(QWidget* owner, quint16 value) const;
    void longbox(QWidget* owner, qint32 value) const;
    void intbox(QWidget* owner, qint32 value) const;
    void strbox(QWidget* owner, QByteArrayView text) const;
    /// Shows the value's exponent form.
    void realbox(QWidget* owner, double value) const;
};

} // namespace kelvano
