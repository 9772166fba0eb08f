#pragma once

#include <QString>

namespace kelvano {

/// The path of an existing file whose name matches the given one without regard to case, so that
/// "price.TBL" written by the editor and "price.tbl" asked for by the page generator reach one file.
/// The given path itself when it exists or when no such file exists.
QString findFileIgnoringCase(const QString& path);

/// The folder text with a "/" appended when it does not already end with one.
QString withTrailingSeparator(const QString& folder);

} // namespace kelvano
