#include "core/html/page_output.h"

#include "core/store/save_file.h"

namespace kelvano {

PageOutput::PageOutput(QIODevice& device, PageEncoding encoding) : m_device(device), m_encoding(encoding) {
    m_buffer.reserve(Capacity + 4096);
}

void PageOutput::write(QByteArrayView bytes) {
    m_buffer += bytes;
    if (m_buffer.size() >= Capacity) {
        flush();
    }
}

void PageOutput::writeLine(QByteArrayView bytes) {
    m_buffer += bytes;
    endLine();
}

void PageOutput::endLine() {
    m_buffer += "\r\n";
    if (m_buffer.size() >= Capacity) {
        flush();
    }
}

void PageOutput::flush() {
    if (m_buffer.isEmpty()) {
        return;
    }
    if (m_encoding == PageEncoding::Utf8) {
        m_recoded.resize(0);
        m_recoder.recode(m_buffer, m_recoded);
        writeAll(m_device, m_recoded);
    } else {
        writeAll(m_device, m_buffer);
    }
    m_buffer.resize(0); // keeps the room for the next piece
}

void PageOutput::finish() {
    flush();
    if (m_encoding == PageEncoding::Utf8) {
        m_recoded.resize(0);
        m_recoder.finish(m_recoded);
        if (!m_recoded.isEmpty()) {
            writeAll(m_device, m_recoded);
        }
    }
}

} // namespace kelvano
