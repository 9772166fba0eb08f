#pragma once

#include "core/html/page_encoding.h"

#include <QByteArray>
#include <concepts>

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
    /// Lets `append` add a line's bytes straight to the piece being collected (no copy on the way),
    /// then ends the line with CR LF.
    template <typename Append>
    requires std::invocable<Append, QByteArray&>
    void appendLine(Append&& append) {
        append(m_buffer);
        endLine();
    }
    /// Passes everything collected to the device; an IoError when it takes less.
    void flush();
    /// Flushes the last piece, with a double-byte character left open at the very end (U+FFFD).
    void finish();

private:
    void endLine();

    QIODevice& m_device;
    QByteArray m_buffer;
    PageEncoding m_encoding;
    Utf8Recoder m_recoder;
    QByteArray m_recoded;
};

} // namespace kelvano
