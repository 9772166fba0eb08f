#pragma once

#include <QPixmap>

namespace kelvano {

/// The five 21 x 24 markers painted over the editor's cells to show their decorations.
class CellMarkers {
public:
    enum Kind { Link, PictureRight, PictureLeft, Background, Blank };
    static constexpr int Width = 21;
    static constexpr int Height = 24;

    static const QPixmap& marker(Kind kind);
};

} // namespace kelvano
