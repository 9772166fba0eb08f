#pragma once

#include "core/store/program_settings.h"

#include <QByteArray>

namespace kelvano {

/// Turns a stream of code page 932 bytes into UTF-8 piece by piece: a double-byte character cut
/// between two pieces is carried over to the next one. A byte sequence that is no character of the
/// code page becomes U+FFFD.
class Utf8Recoder {
public:
    /// Appends the UTF-8 of the bytes to `out`; the last byte is kept back when it opens a double-byte
    /// character whose second byte has not come yet.
    void recode(QByteArrayView bytes, QByteArray& out);
    /// Appends what was kept back (a lone first byte becomes U+FFFD).
    void finish(QByteArray& out);

private:
    QByteArray m_pending;
};

/// A header or footer line as a UTF-8 page writes it (before recoding): in each `charset=` (ASCII
/// case-insensitive), optionally followed by `"` or `'`, a Shift-JIS name (shift_jis, shift-jis,
/// x-sjis, sjis, windows-31j, cp932, ms_kanji, csshiftjis, in any ASCII case, ending where a name
/// cannot go on) is replaced by `UTF-8`. Everything else stays.
QByteArray rewriteCharsetNames(QByteArrayView line);

/// The name of the first `charset=` declaration in the line (up to where a name cannot go on); empty
/// when the line declares none.
QByteArray declaredCharset(QByteArrayView line);

/// Whether a declared charset name stands for the encoding (without regard to ASCII case).
bool charsetNameMatches(QByteArrayView name, PageEncoding encoding);

} // namespace kelvano
