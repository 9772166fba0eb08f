#pragma once

#include <QtGlobal>

namespace kelvano {

/// What a picture chosen in the picture picker becomes in the editor's current cell.
enum class PictureUse : quint8 {
    RightOfText, ///< "文字の右に配置"
    LeftOfText,  ///< "文字の左に配置"
    Background,  ///< "背景画像を設定"
};

} // namespace kelvano
