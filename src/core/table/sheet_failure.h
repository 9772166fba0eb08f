#pragma once

namespace kelvano {

/// Why a spreadsheet file (.xlsx, .ods) gives no rows: what core/table/sheet_file.h reports, and what
/// the window and kelvano-publish word alike (Messages::sheetFailureText).
enum class SheetFailure {
    None,
    /// Neither an .xlsx nor an .ods file (another archive, a text, an old binary workbook).
    NotASpreadsheet,
    /// Its contents are locked by a password.
    Encrypted,
    /// A broken archive or a part that is not well-formed.
    Damaged,
    /// It expands to more than SheetFile::ExpandedBytesRead, or its sheet to more than
    /// SheetFile::FieldsRead cells.
    TooLarge,
    /// The file holds no sheet of the name or number asked for.
    NoSuchSheet,
};

} // namespace kelvano
