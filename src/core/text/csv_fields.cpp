#include "core/text/csv_fields.h"

namespace kelvano::StringUtil {

void discsv(QByteArrayView line, CsvFields& fields) {
    for (QByteArray& slot : fields.csvfield) {
        slot.clear();
    }
    if (line.isEmpty()) {
        return;
    }
    fields.csvcount = 1;
    int slot = 1;
    bool quoted = false;
    bool separatorSeen = false;
    const auto append = [&](char c) {
        if (slot < CsvFields::SlotCount) {
            fields.csvfield[slot].append(c);
        }
    };
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (i < size) {
        if (!quoted && line[i] == '"' && i + 1 < size) {
            ++i;
            quoted = true;
        }
        if (quoted && line[i] == '"') {
            // A closing quote; a quote right after it is skipped below without opening a new run.
            ++i;
            quoted = false;
        }
        if (i < size && line[i] != '"' && (quoted || line[i] != ',')) {
            append(line[i]);
        }
        if (!quoted && i < size && line[i] == ',') {
            ++slot;
            if (fields.csvcount < 255) {
                ++fields.csvcount;
            }
            separatorSeen = true;
        }
        ++i;
    }
    if (!separatorSeen) {
        fields.csvfield[0] = line.toByteArray();
    }
}

} // namespace kelvano::StringUtil
