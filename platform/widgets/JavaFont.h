#pragma once
// Fonts sized as the original toolkit sized them: a font of size 12 is 12
// pixels high whatever the screen's resolution, so the window's fixed 535 x 550
// pixels hold its rows as designed.

#include <QFont>
#include <QString>

namespace platform {

inline QFont javaFont(const QString& family, int size, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(size);
    font.setBold(bold);
    return font;
}

}  // namespace platform
