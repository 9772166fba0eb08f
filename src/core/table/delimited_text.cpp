#include "core/table/delimited_text.h"

#include <array>
#include <limits>

namespace kelvano::DelimitedText {
namespace {

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
/// How many records the separator is judged by.
constexpr int SampleRecords = 20;

/// How often `separator` occurs outside quotes in each of the first records.
QList<int> separatorCounts(QByteArrayView bytes, char separator) {
    QList<int> counts{0};
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '"') {
            quoted = !quoted; // a doubled quote toggles twice
        } else if (!quoted && c == separator) {
            ++counts.last();
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            if (counts.size() == SampleRecords) {
                return counts;
            }
            counts.append(0);
        }
    }
    if (counts.size() > 1 && counts.last() == 0 && (bytes.endsWith('\n') || bytes.endsWith('\r'))) {
        counts.removeLast(); // the line end after the last record
    }
    return counts;
}

/// Appends to a field up to the bound; true when something was left out.
bool appendBounded(QByteArray& field, QByteArrayView bytes, qsizetype maxFieldBytes) {
    const qsizetype room = std::max<qsizetype>(0, maxFieldBytes - field.size());
    field += bytes.first(std::min(room, bytes.size()));
    return bytes.size() > room;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes) {
    const auto at = [&bytes](qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = at(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The continuation bytes a lead byte takes and the range of the first of them.
        int more = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + more >= bytes.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const unsigned char next = at(i + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += more + 1;
    }
    return true;
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith(ByteOrderMark) ? bytes.sliced(ByteOrderMark.size()) : bytes;
}

DelimitedFormat detect(QByteArrayView bytes) {
    DelimitedFormat format;
    format.byteOrderMark = bytes.startsWith(ByteOrderMark);
    const QByteArrayView text = withoutByteOrderMark(bytes);
    format.encoding = format.byteOrderMark || isValidUtf8(text) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;

    // The best separator occurs on every sampled record the same number of times; among those that do,
    // (or, failing that, among all) the one occurring most often.
    int bestScore = 0;
    for (const char separator : std::array{'\t', ',', ';'}) {
        const QList<int> counts = separatorCounts(text, separator);
        int total = 0;
        bool even = true;
        for (const int count : counts) {
            total += count;
            even = even && count == counts.first();
        }
        if (total == 0) {
            continue;
        }
        // Even splits outrank any uneven one; 1 << 24 exceeds any count of a sample.
        const int score = (even ? 1 << 24 : 0) + std::min(total, (1 << 24) - 1);
        if (score > bestScore) {
            bestScore = score;
            format.separator = separator;
        }
    }
    return format;
}

QList<QByteArrayList> parse(QByteArrayView bytes, char separator) {
    RecordReader reader(bytes, separator, std::numeric_limits<qsizetype>::max());
    QList<QByteArrayList> records;
    QByteArrayList record;
    while (reader.next(record)) {
        records.append(record);
    }
    return records;
}

RecordReader::RecordReader(QByteArrayView bytes, char separator, qsizetype maxFieldBytes)
    : m_bytes(bytes), m_separator(separator), m_maxFieldBytes(maxFieldBytes) {}

bool RecordReader::next(QByteArrayList& record) {
    record.clear();
    QByteArray field;
    bool fieldCut = false;
    bool fieldStarted = false; // something of the record has been read
    const QByteArrayView bytes = m_bytes;
    const qsizetype size = bytes.size();
    qsizetype& i = m_position;
    const auto endField = [&] {
        record.append(std::move(field));
        field = QByteArray();
        m_cutFields += fieldCut ? 1 : 0;
        fieldCut = false;
    };
    while (i < size) {
        const char c = bytes[i];
        if (c == '"' && field.isEmpty()) {
            // A quoted field: up to the closing quote; "" is one quote.
            const qsizetype openedOn = m_line;
            bool closed = false;
            ++i;
            while (i < size) {
                if (bytes[i] == '"') {
                    if (i + 1 < size && bytes[i + 1] == '"') {
                        fieldCut |= appendBounded(field, "\"", m_maxFieldBytes);
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                const qsizetype start = i;
                while (i < size && bytes[i] != '"') {
                    m_line += bytes[i] == '\n' ? 1 : 0;
                    ++i;
                }
                fieldCut |= appendBounded(field, bytes.sliced(start, i - start), m_maxFieldBytes);
            }
            if (!closed && m_unclosedQuoteLine == 0) {
                m_unclosedQuoteLine = openedOn;
            }
            fieldStarted = true;
            continue;
        }
        if (c == m_separator) {
            endField();
            fieldStarted = true;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            endField();
            const bool crLf = c == '\r' && i + 1 < size && bytes[i + 1] == '\n';
            m_line += c == '\n' || crLf ? 1 : 0;
            i += crLf ? 2 : 1;
            return true;
        }
        const qsizetype start = i;
        while (i < size && bytes[i] != m_separator && bytes[i] != '\r' && bytes[i] != '\n') {
            ++i;
        }
        fieldCut |= appendBounded(field, bytes.sliced(start, i - start), m_maxFieldBytes);
        fieldStarted = true;
    }
    if (fieldStarted) {
        endField();
        return true;
    }
    return false;
}

void appendField(QByteArray& written, QByteArrayView field, char separator) {
    qsizetype special = 0;
    for (const char c : field) {
        special += c == separator || c == '"' || c == '\r' || c == '\n' ? 1 : 0;
    }
    if (special == 0) {
        written += field;
        return;
    }
    written += '"';
    for (const char c : field) {
        written += c;
        if (c == '"') {
            written += '"';
        }
    }
    written += '"';
}

QByteArray format(const QList<QByteArrayList>& records, char separator, QByteArrayView lineEnd,
                  bool endLastRecord) {
    QByteArray written;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const QByteArrayList& record = records[r];
        for (qsizetype f = 0; f < record.size(); ++f) {
            if (f > 0) {
                written += separator;
            }
            appendField(written, record[f], separator);
        }
        if (endLastRecord || r + 1 < records.size()) {
            written += lineEnd;
        }
    }
    return written;
}

} // namespace kelvano::DelimitedText
