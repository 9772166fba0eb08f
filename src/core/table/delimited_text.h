#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

namespace kelvano {

/// How the bytes of a delimited file are encoded.
enum class TextEncoding { Utf8, ShiftJis };

/// What a delimited file (CSV, TSV) looks like, as read from its first lines.
struct DelimitedFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    /// The file opens with the UTF-8 byte-order mark EF BB BF.
    bool byteOrderMark = false;
    /// ',', '\t' or ';'.
    char separator = ',';
};

/// Reads and writes records of delimited text with RFC 4180 quoting: a field in double quotes may hold
/// separators, line breaks and doubled quotes. Works on the bytes themselves: the separators, quotes and
/// line ends are ASCII, and neither UTF-8 nor Shift-JIS uses those bytes inside a character (a Shift-JIS
/// second byte is 0x40 or above), so the fields come out in the file's own encoding.
namespace DelimitedText {

/// The encoding and separator of a file. UTF-8 when the file opens with the byte-order mark or its bytes
/// are valid UTF-8, Shift-JIS otherwise. The separator is the one of tab, comma and semicolon that splits
/// the first records most evenly (outside quotes), tab first on a tie; a comma when none occurs.
DelimitedFormat detect(QByteArrayView bytes);

/// The bytes without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

/// Splits text into records of fields. Records end at CR LF, LF or CR outside quotes; a line end after
/// the last record adds no record, an empty line in between is a record of one empty field. A field
/// that opens with a quote runs to the matching quote, "" standing for one quote; what follows a closing
/// quote up to the separator is kept as it is, and so is a quote inside an unquoted field. A quoted field
/// that never closes runs to the end of the text.
QList<QByteArrayList> parse(QByteArrayView bytes, char separator);

/// Reads the records of a text one at a time, as parse splits them, keeping the first `maxFieldBytes`
/// bytes of each field: what a file holds never decides how much memory its reading takes.
class RecordReader {
public:
    RecordReader(QByteArrayView bytes, char separator, qsizetype maxFieldBytes);
    /// Puts the next record's fields into `record`; false at the end of the text.
    bool next(QByteArrayList& record);
    /// How many fields read so far were cut at the bound.
    int cutFields() const { return m_cutFields; }
    /// Where the first quoted field read so far that never closes opened (its line, from 1); 0 when
    /// every one closed.
    qsizetype unclosedQuoteLine() const { return m_unclosedQuoteLine; }

private:
    QByteArrayView m_bytes;
    char m_separator;
    qsizetype m_maxFieldBytes;
    qsizetype m_position = 0;
    qsizetype m_line = 1;
    int m_cutFields = 0;
    qsizetype m_unclosedQuoteLine = 0;
};

/// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

/// Appends one field as written: in quotes (quotes doubled) when it holds the separator, a quote, CR
/// or LF.
void appendField(QByteArray& written, QByteArrayView field, char separator);

/// Records joined: fields by the separator, each record followed by `lineEnd`; with `endLastRecord`
/// false the last record has no line end (a spreadsheet's clipboard text).
QByteArray format(const QList<QByteArrayList>& records, char separator, QByteArrayView lineEnd,
                  bool endLastRecord = true);

} // namespace DelimitedText
} // namespace kelvano
