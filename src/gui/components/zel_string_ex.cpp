#include "gui/components/zel_string_ex.h"

#include "core/store/shift_jis.h"
#include "core/text/date_serial.h"
#include "core/text/exponent_form.h"
#include "core/text/line_filters.h"
#include "core/text/number_text.h"
#include "core/text/text_edits.h"
#include "gui/base/messages.h"
#include "gui/base/user_dialogs.h"

namespace kelvano {
namespace {

void showValue(QWidget* owner, QByteArrayView text) {
    UserDialogs::show(owner, MessageIcon::None, ShiftJis::decode(text), Messages::ZelStringExCaption);
}

} // namespace

ZelStringEX::ZelStringEX(QObject* parent) : QObject(parent) {}

void ZelStringEX::discsv(QByteArrayView line) {
    StringUtil::discsv(line, *this);
}

void ZelStringEX::Cutline(const QString& fileName, QByteArrayView key) const {
    StringUtil::Cutline(fileName, key);
}

void ZelStringEX::FCutline(const QString& fileName, QByteArrayView key) const {
    StringUtil::FCutline(fileName, key);
}

void ZelStringEX::Exline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) const {
    StringUtil::Exline(fileName, key, newLine);
}

void ZelStringEX::FExline(const QString& fileName, QByteArrayView key, QByteArrayView newLine) const {
    StringUtil::FExline(fileName, key, newLine);
}

QByteArray ZelStringEX::zero(quint16 value) const {
    return StringUtil::zero(value);
}

QByteArray ZelStringEX::spc(quint16 value) const {
    return StringUtil::spc(value);
}

QByteArray ZelStringEX::bytestr(quint8 value) const {
    return StringUtil::bytestr(value);
}

QByteArray ZelStringEX::wordstr(quint16 value) const {
    return StringUtil::wordstr(value);
}

QByteArray ZelStringEX::intstr(qint32 value) const {
    return StringUtil::intstr(value);
}

QByteArray ZelStringEX::longstr(qint32 value) const {
    return StringUtil::longstr(value);
}

QByteArray ZelStringEX::strclear(QByteArrayView text) const {
    return StringUtil::strclear(text);
}

bool ZelStringEX::strcheck(QByteArrayView text, QByteArrayView prefix) const {
    return StringUtil::strcheck(text, prefix);
}

QByteArray ZelStringEX::spastr(QByteArrayView text, quint8 width) const {
    return StringUtil::spastr(text, width);
}

QByteArray ZelStringEX::spastr2(QByteArrayView text, quint8 width) const {
    return StringUtil::spastr2(text, width);
}

QByteArray ZelStringEX::strget(QByteArrayView text, QByteArrayView prefix) const {
    return StringUtil::strget(text, prefix);
}

QByteArray ZelStringEX::dtoh(quint8 value) const {
    return StringUtil::dtoh(value);
}

QByteArray ZelStringEX::hex3(qint32 colour) const {
    return StringUtil::hex3(colour);
}

QByteArray ZelStringEX::dtoc(qint32 value) const {
    return StringUtil::dtoc(value);
}

QByteArray ZelStringEX::Dot2(QByteArrayView form) const {
    return StringUtil::Dot2(form);
}

QByteArray ZelStringEX::Round2(QByteArrayView form) const {
    return StringUtil::Round2(form);
}

QByteArray ZelStringEX::AddEndPath(QByteArrayView folder) const {
    return StringUtil::AddEndPath(folder);
}

QByteArray ZelStringEX::yencut(QByteArrayView text) const {
    return StringUtil::yencut(text);
}

qint32 ZelStringEX::nextdate(QByteArrayView date) const {
    return StringUtil::nextdate(date);
}

qint32 ZelStringEX::nextdated(QByteArrayView date) const {
    return StringUtil::nextdated(date);
}

void ZelStringEX::bytebox(QWidget* owner, quint8 value) const {
    showValue(owner, StringUtil::bytestr(value));
}

void ZelStringEX::wordbox(QWidget* owner, quint16 value) const {
    showValue(owner, StringUtil::wordstr(value));
}

void ZelStringEX::longbox(QWidget* owner, qint32 value) const {
    showValue(owner, StringUtil::longstr(value));
}

void ZelStringEX::intbox(QWidget* owner, qint32 value) const {
    showValue(owner, StringUtil::intstr(value));
}

void ZelStringEX::strbox(QWidget* owner, QByteArrayView text) const {
    showValue(owner, text);
}

void ZelStringEX::realbox(QWidget* owner, double value) const {
    showValue(owner, StringUtil::exponentForm(value));
}

} // namespace kelvano
