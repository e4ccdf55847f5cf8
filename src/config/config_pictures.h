// The pictures of the dialog's two buttons, drawn at run time.
#pragma once

#include <QPixmap>

namespace config_pictures {

// 48 x 48 pictures on a transparent background.
QPixmap GreenTick();
QPixmap RedCross();

}  // namespace config_pictures
