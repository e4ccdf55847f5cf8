// Code page 1251: the 8-bit text of the INI file and of the test-file header.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

QString FromCp1251(const QByteArray& bytes);
// Characters that code page 1251 cannot hold become "?".
QByteArray ToCp1251(const QString& text);

}  // namespace platform
