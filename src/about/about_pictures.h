// The pictures and the icon of the about window, built into the program as resources.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

// The stored bytes of a resource of the about window ("banner.jpg", "logo.jpg", "icon.png");
// empty when there is no such resource.
QByteArray AboutResource(const QString& name);

// A JPEG picture of the about window, decoded; a null image when it is missing or damaged.
QImage AboutPicture(const QString& name);

// The program's icon (32 x 32, 16 colours), shown by the main window, the about window and, at
// 32 pixels, the desktop's menu entry.
QIcon ProgramIcon();
