#pragma once

#include <QIcon>
#include <QPixmap>

namespace taloven {

// The application icon and the product picture the main window centres.
QIcon ApplicationIcon();
QPixmap ProductPicture();

}  // namespace taloven
