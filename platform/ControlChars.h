#pragma once
// Control characters in text that came from outside: class files, javadoc
// pages, Java sources. Written to a terminal as they are, ESC and CSI
// (U+009B) start control sequences that retitle the window or clear the
// screen, and a line feed inside a class name forges another line of output.

#include <QString>
#include <QStringView>

namespace platform {

// Whether c is a C0 control, DEL or a C1 control (U+0000-U+001F, U+007F-U+009F).
inline bool isControlChar(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The text with every control character other than tab and line feed written
// as a Java escape ("\u001b"): visible, plain ASCII, and it names the
// character that was there, as the source's own author may have written it.
// A carriage return goes too: alone it moves the cursor back over the line.
// Text without any comes back unchanged (and unshared copies are not made).
QString showControlChars(const QString& text);

}  // namespace platform
