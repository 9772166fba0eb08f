// The string utility component's text and number operations on any bytes.
// Input: a width byte, a 32-bit number, an 8-byte real, a prefix run, then the text.

#include "core/store/shift_jis.h"
#include "core/text/csv_fields.h"
#include "core/text/date_serial.h"
#include "core/text/exponent_form.h"
#include "core/text/number_text.h"
#include "core/text/text_edits.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace kelvano;
using namespace kelvano::StringUtil;
using kelvano::fuzz::require;

namespace {

bool allOf(QByteArrayView bytes, char c) {
    return bytes.count(c) == bytes.size();
}

bool isFixedPoint(QByteArrayView text) {
    const QByteArrayView unsigned_ = text.startsWith('-') ? text.sliced(1) : text;
    const qsizetype dot = unsigned_.indexOf('.');
    if (dot < 1 || unsigned_.size() - dot - 1 < 2) {
        return false;
    }
    for (qsizetype i = 0; i < unsigned_.size(); ++i) {
        if (i != dot && (unsigned_[i] < '0' || unsigned_[i] > '9')) {
            return false;
        }
    }
    return true;
}

void checkEdits(QByteArrayView text, QByteArrayView prefix, quint8 width) {
    const QByteArray cleared = strclear(text);
    require(!cleared.contains(' ') && !cleared.contains('\t') &&
                cleared.size() == text.size() - text.count(' ') - text.count('\t'),
            "strclear removes every blank and tab and nothing else");
    // yencut steps over double-byte characters whole, so only a byte after a lead byte can stay a comma.
    const QByteArray cut = yencut(text);
    const bool singleBytes = std::none_of(
        text.begin(), text.end(), [](char c) { return ShiftJis::isLeadByte(static_cast<unsigned char>(c)); });
    require(cut.size() <= text.size(), "yencut only removes");
    require(!singleBytes || (!cut.contains(',') && !cut.contains('\\') &&
                             cut.size() == text.size() - text.count(',') - text.count('\\')),
            "yencut removes every comma and yen sign of single-byte text");

    require(strcheck(text, prefix) == text.startsWith(prefix), "strcheck compares the prefix");
    require(strget(text, prefix) == text.sliced(std::min(prefix.size(), text.size())),
            "strget skips as many bytes as the prefix has");

    const QByteArray padded = spastr(text, width);
    const QByteArray padded2 = spastr2(text, width);
    const qsizetype blanks = padded.size() - text.size();
    require(padded.startsWith(text) && allOf(QByteArrayView(padded).sliced(text.size()), ' '),
            "spastr puts blanks after the text");
    require(padded2.endsWith(text) && padded2.size() == padded.size(),
            "spastr2 puts the same blanks before it");
    require(blanks <= 80 && (blanks == 0 || padded.size() <= width), "padding stops at the width");

    const QByteArray folder = AddEndPath(text);
    require(text.isEmpty() ? folder.isEmpty() : (folder.startsWith(text) && folder.endsWith('/')),
            "a folder ends in the separator");
}

void checkCsv(QByteArrayView line) {
    CsvFields fields;
    discsv(line, fields);
    for (const QByteArray& field : fields.csvfield) {
        require(line.contains('"') || !field.contains('"'), "quotes are never stored");
    }
    if (line.isEmpty() || line.contains('"')) {
        return;
    }
    const QList<QByteArray> parts = line.toByteArray().split(',');
    require(fields.csvcount == std::min<qsizetype>(parts.size(), 255), "every field is counted");
    for (int slot = 1; slot < CsvFields::SlotCount; ++slot) {
        require(fields.csvfield[slot] == parts.value(slot - 1), "field n sits in slot n");
    }
    require(fields.csvfield[0] == (parts.size() == 1 ? line.toByteArray() : QByteArray()),
            "slot 0 holds a line without commas");
}

void checkNumbers(qint32 number, double real, QByteArrayView text) {
    const auto word = static_cast<quint16>(number);
    const auto byte = static_cast<quint8>(number);
    require(zero(word).toInt() == word && zero(word).size() >= 2, "zero keeps two digits at least");
    require(spc(word).trimmed().toInt() == word && spc(word).size() >= 2, "spc keeps two places at least");
    require(longstr(number).toInt() == number && intstr(number).toInt() == number, "numbers read back");
    require(QByteArray::fromHex(dtoh(byte)) == QByteArray(1, char(byte)) &&
                dtoh(byte) == dtoh(byte).toUpper(),
            "dtoh gives two upper-case digits");
    require(hex3(number).size() == 6 && hex3(number).toUInt(nullptr, 16) == (quint32(number) & 0xFFFFFF),
            "hex3 gives six digits of the low 24 bits");
    const QByteArray grouped = dtoc(number);
    require(QByteArray(grouped).replace(',', QByteArray()).toLongLong() == number, "dtoc groups every digit");

    const QByteArray form = exponentForm(real);
    if (std::isfinite(real)) {
        require(form.size() == 23 && form[2] == '.' && form[17] == 'E',
                "the exponent form has 23 characters");
        require(isFixedPoint(Dot2(form)) && isFixedPoint(Round2(form)), "fixed point from an exponent form");
    }
    // Whatever the text, the fixed-point forms read nothing outside it.
    Dot2(text);
    Round2(text);
    nextdate(text);
    nextdated(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    const quint8 width = reader.byte();
    const auto number = static_cast<qint32>(reader.word() | (quint32(reader.word()) << 16));
    double real = 0;
    const QByteArrayView realBytes = reader.bytes(sizeof real);
    if (!realBytes.isEmpty()) {
        std::memcpy(&real, realBytes.data(), static_cast<std::size_t>(realBytes.size()));
    }
    const QByteArrayView prefix = reader.shortRun();
    const QByteArrayView text = reader.rest();

    checkEdits(text, prefix, width);
    checkCsv(text);
    checkNumbers(number, real, text);
    return 0;
}
