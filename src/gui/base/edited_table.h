#pragma once

#include "core/store/table_data_files.h"

namespace kelvano {

/// What other windows ask of the table data editor about the table it holds.
class EditedTable {
public:
    /// The table's files under the folder settings in force.
    virtual TableDataFiles dataFiles() const = 0;
    /// Asked before the program ends: with unsaved changes the user chooses to save them, give them up
    /// or go on working. False when the program is to stay.
    virtual bool mayEnd() = 0;
    /// The program ends where no one can be asked (the system's end, a session that allows no
    /// questions): unsaved changes are saved, since nothing typed is to be lost. False when they could
    /// not be.
    virtual bool saveUnasked() = 0;

protected:
    ~EditedTable() = default;
};

} // namespace kelvano
