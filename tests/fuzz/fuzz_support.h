#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets. Each target defines LLVMFuzzerTestOneInput; libFuzzer drives it in the
// sanitizer tree, and replay_main.cpp feeds it the committed corpus in every tree.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kelvano::fuzz {

/// Stops the run when a property does not hold: libFuzzer keeps the input as a crash, a replay fails.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property failed: %s\n", property);
        std::abort();
    }
}

/// Takes the parts of one input from its front: numbers, runs of bytes, and the rest.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)) {}

    bool atEnd() const { return m_bytes.isEmpty(); }
    quint8 byte() {
        if (m_bytes.isEmpty()) {
            return 0;
        }
        const auto value = static_cast<quint8>(m_bytes.front());
        m_bytes = m_bytes.sliced(1);
        return value;
    }
    quint16 word() { return quint16(byte() | (byte() << 8)); }
    /// Up to `count` bytes.
    QByteArrayView bytes(qsizetype count) {
        const QByteArrayView taken = m_bytes.first(std::min(count, m_bytes.size()));
        m_bytes = m_bytes.sliced(taken.size());
        return taken;
    }
    /// A run whose length is the next byte.
    QByteArrayView shortRun() { return bytes(byte()); }
    QByteArrayView rest() { return bytes(m_bytes.size()); }

private:
    QByteArrayView m_bytes;
};

/// A folder that lives for the whole run, emptied before each input that uses it.
inline QString scratchFolder() {
    static QTemporaryDir folder;
    require(folder.isValid(), "a scratch folder can be made");
    QDir dir(folder.path());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        dir.remove(name);
    }
    return folder.path() + QLatin1Char('/');
}

inline void writeFile(const QString& path, QByteArrayView contents) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "a scratch file can be written");
    require(file.write(contents.data(), contents.size()) == contents.size(), "a scratch file is written");
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "a scratch file can be read");
    return file.readAll();
}

} // namespace kelvano::fuzz
