#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

struct UCollator;

namespace kelvano {

/// Locale-aware, case-sensitive text order (ICU collation at tertiary strength): "a" < "A" < "b",
/// "10" < "9" (texts, not numbers), the empty text first. Compares Shift-JIS texts by sort keys, so
/// a large sort collates each text once.
class TextCollation {
public:
    /// How digits compare: as texts ("10" < "9") or, in numeric order, runs of digits by their value
    /// ("9" < "98" < "120").
    enum class Digits { AsText, Numeric };

    /// The collation of the user's locale.
    explicit TextCollation(Digits digits = Digits::AsText);
    /// The collation of a named locale ("ja_JP", "en_US").
    explicit TextCollation(const QString& localeName, Digits digits = Digits::AsText);
    ~TextCollation();
    TextCollation(const TextCollation&) = delete;
    TextCollation& operator=(const TextCollation&) = delete;

    /// A key that orders as the text does under byte-wise comparison (zero-terminated).
    QByteArray sortKey(QByteArrayView shiftJisText) const;
    /// Appends the key (with its terminating zero) to `keys`, so that many keys share one buffer.
    void appendSortKey(QByteArrayView shiftJisText, QByteArray& keys) const;
    /// Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(QByteArrayView a, QByteArrayView b) const;

private:
    struct Closer {
        void operator()(UCollator* collator) const;
    };
    std::unique_ptr<UCollator, Closer> m_collator;
};

/// Shift-JIS bytes as text for display and measurement; plain ASCII takes a fast path.
QString shiftJisText(QByteArrayView bytes);

} // namespace kelvano
