#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <array>

namespace kelvano::StringUtil {

/// The fields of the last comma-separated line split by discsv.
struct CsvFields {
    static constexpr int SlotCount = 21;

    /// Field n of the line in slot n (1 to 20); slot 0 holds the whole line when it has no separating
    /// comma.
    std::array<QByteArray, SlotCount> csvfield;
    /// The number of fields found, also those past slot 20 (up to 255).
    quint8 csvcount = 0;
};

/// Splits one line at its commas into `fields`. Double quotes enclose a run in which commas are text;
/// quotes themselves are never stored. An empty line clears every slot and leaves csvcount as it was.
void discsv(QByteArrayView line, CsvFields& fields);

} // namespace kelvano::StringUtil
