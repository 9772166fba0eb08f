#pragma once

#include "core/html/page_encoding.h"

#include <QByteArray>

class QIODevice;

namespace kelvano {

/// Collects a page's bytes and hands them to its (unbuffered) device in pieces of about 64 KB, so
/// that memory stays flat however long the page is and the writes stay few. A UTF-8 page is recoded
/// piece by piece on the way.
class PageOutput {
public:
    static constexpr qsizetype Capacity = 64 * 1024;

    explicit PageOutput(QIODevice& device, PageEncoding encoding = PageEncoding::ShiftJis);

    void write(QByteArrayView bytes);
    /// Writes the bytes followed by CR LF.
    void writeLine(QByteArrayView bytes);
    /// Passes everything collected to the device; an IoError when it takes less.
    void flush();
    /// Flushes the last piece, with a double-byte character left open at the very end (U+FFFD).
    void finish();

private:
    QIODevice& m_device;
    QByteArray m_buffer;
    PageEncoding m_encoding;
    Utf8Recoder m_recoder;
    QByteArray m_recoded;
};

} // namespace kelvano
