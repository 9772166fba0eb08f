#include "core/table/delimited_text.h"

#include <QStringDecoder>
#include <array>

namespace kelvano::DelimitedText {
namespace {

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
/// How many records the separator is judged by.
constexpr int SampleRecords = 20;

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

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

} // namespace

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
    QList<QByteArrayList> records;
    QByteArrayList record;
    QByteArray field;
    qsizetype i = 0;
    const qsizetype size = bytes.size();
    bool fieldStarted = false; // something of the current record has been read
    while (i < size) {
        const char c = bytes[i];
        if (c == '"' && field.isEmpty()) {
            // A quoted field: up to the closing quote; "" is one quote.
            ++i;
            while (i < size) {
                if (bytes[i] == '"') {
                    if (i + 1 < size && bytes[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                const qsizetype start = i;
                while (i < size && bytes[i] != '"') {
                    ++i;
                }
                field += bytes.sliced(start, i - start);
            }
            fieldStarted = true;
            continue;
        }
        if (c == separator) {
            record.append(field);
            field.clear();
            fieldStarted = true;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            record.append(field);
            field.clear();
            records.append(record);
            record.clear();
            fieldStarted = false;
            i += c == '\r' && i + 1 < size && bytes[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        const qsizetype start = i;
        while (i < size && bytes[i] != separator && bytes[i] != '\r' && bytes[i] != '\n') {
            ++i;
        }
        field += bytes.sliced(start, i - start);
        fieldStarted = true;
    }
    if (fieldStarted) {
        record.append(field);
        records.append(record);
    }
    return records;
}

QByteArray quoteField(QByteArrayView field, char separator) {
    const bool quoted =
        field.contains(separator) || field.contains('"') || field.contains('\r') || field.contains('\n');
    if (!quoted) {
        return field.toByteArray();
    }
    QByteArray written;
    written.reserve(field.size() + 2);
    written += '"';
    for (const char c : field) {
        written += c;
        if (c == '"') {
            written += '"';
        }
    }
    written += '"';
    return written;
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
            written += quoteField(record[f], separator);
        }
        if (endLastRecord || r + 1 < records.size()) {
            written += lineEnd;
        }
    }
    return written;
}

} // namespace kelvano::DelimitedText
