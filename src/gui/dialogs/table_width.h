#pragma once

#include <QByteArray>

namespace kelvano {

/// A definition's table width: left to the browser, a percentage of the page ("75%") or pixels ("640").
struct TableWidth {
    enum Kind { Browser, Percent, Pixels };

    Kind kind = Browser;
    int value = 0;

    /// Reads a stored width text; a number that cannot be read gives 0 (the spin field then shows its
    /// minimum).
    static TableWidth parse(const QByteArray& text);
    /// The stored width text.
    QByteArray text() const;
};

} // namespace kelvano
