#include "core/html/header_macros.h"

#include "core/html/clock.h"
#include "core/store/shift_jis.h"

#include <array>
#include <memory>
#include <optional>
#include <unicode/datefmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace kelvano {
namespace {

const QByteArray DateTag = QByteArrayLiteral("GETNOWDATE");
const QByteArray TimeTag = QByteArrayLiteral("GETNOWTIME");
const QByteArray DayTag = QByteArrayLiteral("GETNOWDAY");

/// Shift-JIS bytes of a replacement text. Locale formats may use non-breaking or narrow spaces,
/// which code page 932 cannot hold: they become ordinary blanks. "<" and ">" are dropped, so a
/// replacement can never be scanned as a tag.
QByteArray replacementBytes(const QString& text) {
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace()) {
            cleaned += QLatin1Char(' ');
        } else if (c != QLatin1Char('<') && c != QLatin1Char('>')) {
            cleaned += c;
        }
    }
    return ShiftJis::encode(cleaned).bytes;
}

/// Whether the text between "<" and ">" is the tag, in any mix of upper and lower case. The text
/// begins at a character boundary (neither "<" nor ">" is ever the second byte of a character), and
/// a lead byte never equals a letter of a tag, so comparing byte by byte cannot match half a
/// double-byte character.
bool isTag(QByteArrayView text, QByteArrayView tag) {
    if (text.size() != tag.size()) {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto upper = byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
        if (upper != static_cast<unsigned char>(tag[i])) {
            return false;
        }
    }
    return true;
}

/// The replacement of a macro tag; nullopt when the text is not one of the three tags.
std::optional<QByteArray> replacementFor(QByteArrayView text, const MacroFormats& formats,
                                         const QDateTime& moment) {
    if (isTag(text, DateTag)) {
        return formats.dateText(moment);
    }
    if (isTag(text, TimeTag)) {
        return formats.timeText(moment);
    }
    if (isTag(text, DayTag)) {
        return macroWeekdayText(moment);
    }
    return std::nullopt;
}

} // namespace

MacroFormats::MacroFormats(const QLocale& locale) : m_locale(locale) {}

MacroFormats::~MacroFormats() = default;

QByteArray MacroFormats::dateText(const QDateTime& moment) const {
    return replacementBytes(m_locale.toString(moment.date(), QLocale::ShortFormat));
}

QByteArray MacroFormats::timeText(const QDateTime& moment) const {
    if (!m_timeFormatMade) {
        m_timeFormatMade = true;
        m_timeFormat.reset(icu::DateFormat::createTimeInstance(
            icu::DateFormat::kMedium, icu::Locale(m_locale.name().toLatin1().constData())));
        // The wall-clock time is formatted as it stands: given as UTC to a formatter set to UTC, so
        // that ICU's idea of the local zone cannot shift it.
        if (m_timeFormat) {
            m_timeFormat->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString(u"UTC")));
        }
    }
    if (!m_timeFormat) {
        return replacementBytes(m_locale.toString(moment.time(), QLocale::LongFormat));
    }
    const QDateTime wallClock(moment.date(), moment.time(), Qt::UTC);
    icu::UnicodeString formatted;
    m_timeFormat->format(static_cast<UDate>(wallClock.toMSecsSinceEpoch()), formatted);
    return replacementBytes(
        QString(reinterpret_cast<const QChar*>(formatted.getBuffer()), formatted.length()));
}

QByteArray macroDateText(const QDateTime& moment, const QLocale& locale) {
    return MacroFormats(locale).dateText(moment);
}

QByteArray macroTimeText(const QDateTime& moment, const QLocale& locale) {
    return MacroFormats(locale).timeText(moment);
}

QByteArray macroWeekdayText(const QDateTime& moment) {
    static const std::array<QByteArray, 7> names = [] {
        // Monday first, as QDate::dayOfWeek counts (1 = Monday ... 7 = Sunday).
        const std::array<QString, 7> texts{QStringLiteral("月曜日"), QStringLiteral("火曜日"),
                                           QStringLiteral("水曜日"), QStringLiteral("木曜日"),
                                           QStringLiteral("金曜日"), QStringLiteral("土曜日"),
                                           QStringLiteral("日曜日")};
        std::array<QByteArray, 7> encoded;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            encoded[i] = ShiftJis::encode(texts[i]).bytes;
        }
        return encoded;
    }();
    return names[static_cast<std::size_t>(moment.date().dayOfWeek() - 1)];
}

QByteArray ExpandMacros(QByteArrayView line, const QLocale& locale) {
    // The formats are made only for a line that holds a tag.
    if (!line.contains('>')) {
        return line.toByteArray();
    }
    return ExpandMacros(line, MacroFormats(locale), Clock::now());
}

QByteArray ExpandMacros(QByteArrayView line, const MacroFormats& formats, const QDateTime& moment) {
    // The scan runs once over the line. After a replacement the rules start again from the first
    // character; since the text before the tag is unchanged and a replacement holds no "<" or ">",
    // that rescan ends in the state the scan had just before the tag's "<", which is restored here.
    // Every byte that is not part of a tag is kept as it was typed.
    QByteArray result;
    result.reserve(line.size() + 32);
    bool marker = false;
    qsizetype candidate = 0; // in `result`: the first byte after the last "<"
    bool markerBefore = false;
    qsizetype candidateBefore = 0;
    for (const char byte : line) {
        if (byte == '<') {
            markerBefore = marker;
            candidateBefore = candidate;
            marker = true;
            result += byte;
            candidate = result.size();
            continue;
        }
        if (byte == '>' && marker) {
            if (const auto replacement =
                    replacementFor(QByteArrayView(result).sliced(candidate), formats, moment)) {
                result.truncate(candidate - 1);
                result += *replacement;
                marker = markerBefore;
                candidate = candidateBefore;
                continue;
            }
            marker = false;
        }
        result += byte;
    }
    return result;
}

QByteArray ExpandTableStyle(QByteArrayView line, const std::function<QByteArray()>& styleBlock) {
    static constexpr QByteArrayView Tag("<tablestyle>");
    const auto tagAt = [&line](qsizetype from) {
        for (qsizetype i = line.indexOf('<', from); i >= 0; i = line.indexOf('<', i + 1)) {
            if (i + Tag.size() <= line.size() &&
                line.sliced(i, Tag.size()).compare(Tag, Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        return qsizetype{-1};
    };
    qsizetype at = tagAt(0);
    if (at < 0) {
        return line.toByteArray();
    }
    const QByteArray block = styleBlock();
    QByteArray out;
    qsizetype from = 0;
    for (; at >= 0; at = tagAt(from)) {
        out += line.sliced(from, at - from);
        out += block;
        from = at + Tag.size();
    }
    out += line.sliced(from);
    return out;
}

} // namespace kelvano
