#pragma once

#include <QByteArray>

class QIODevice;

namespace kelvano {

/// Collects a page's bytes and hands them to its (unbuffered) device in pieces of about 64 KB, so
/// that memory stays flat however long the page is and the writes stay few.
class PageOutput {
public:
    static constexpr qsizetype Capacity = 64 * 1024;

    explicit PageOutput(QIODevice& device);

    void write(QByteArrayView bytes);
    /// Writes the bytes followed by CR LF.
    void writeLine(QByteArrayView bytes);
    /// Passes everything collected to the device; an IoError when it takes less.
    void flush();

private:
    QIODevice& m_device;
    QByteArray m_buffer;
};

} // namespace kelvano
