#include "core/html/page_output.h"

#include "core/store/save_file.h"

namespace kelvano {

PageOutput::PageOutput(QIODevice& device) : m_device(device) {
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
    m_buffer += "\r\n";
    if (m_buffer.size() >= Capacity) {
        flush();
    }
}

void PageOutput::flush() {
    if (!m_buffer.isEmpty()) {
        writeAll(m_device, m_buffer);
        m_buffer.resize(0); // keeps the room for the next piece
    }
}

} // namespace kelvano
