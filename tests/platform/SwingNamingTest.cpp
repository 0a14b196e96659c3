// The old Swing naming's one swap, in each direction, on the names each caller
// hands it: the odd cases are the callers' own rules and must stay as they were.

#include <gtest/gtest.h>

#include "platform/SwingNaming.h"
#include "tests/support/QtPrinters.h"

TEST(SwingNaming, EachDirectionOnTheNamesItsCallersHandIt)
{
    using namespace platform;
    // (javax -> com.sun.java on the class field's names: SearchNamingTest.)
    const struct {
        QString name, modern;
        bool old;
    } back[] = {
        {"com.sun.java.swing.JTree", "javax.swing.JTree", true},
        {"com.sun.java", "com.sun.java", false},
        {"com.sun.javafx.Foo", "com.sun.javafx.Foo", false},
        {"java.lang.Object", "java.lang.Object", false},
    };
    for (const auto& c : back) {
        EXPECT_EQ(toModernSwingRoot(c.name), c.modern) << c.name.toStdString();
        EXPECT_EQ(hasOldSwingRoot(c.name), c.old) << c.name.toStdString();
    }
    const struct {
        QString text;
        QChar separator;
        QString modern;
    } pages[] = {
        {"docs\\com\\sun\\java\\swing\\JTree.html", '\\', "docs\\javax\\swing\\JTree.html"},
        {"com.sun.java.swing.JTree", '.', "javax.swing.JTree"},
        {"com.sun.net.httpserver.X", '.', "javaxhttpserver.X"},  // twelve characters go, whatever they are
        {"com.sun", '.', "javax"},
        {"com.sun.java.swing.JTree", '\\', "com.sun.java.swing.JTree"},
    };
    for (const auto& c : pages) EXPECT_EQ(withModernSwingRoot(c.text, c.separator), c.modern) << c.text.toStdString();
    for (const QString swing : {"javax.swing.JTree", "com.sun.java.swing.JTree", "com\\sun\\Foo"})
        EXPECT_TRUE(mentionsSwingRoot(swing)) << swing.toStdString();
    EXPECT_FALSE(mentionsSwingRoot("java.awt.Button"));
    for (const auto& [internal, printed, used] : {std::tuple {"javax/swing/JTree", "com.sun.java.", 6},
             std::tuple {"javaxx/Y", "", 0}, std::tuple {"javax", "", 0}, std::tuple {"java/lang/Object", "", 0}}) {
        std::string out;
        EXPECT_EQ(appendOldSwingRoot(out, internal), size_t(used)) << internal;
        EXPECT_EQ(out, printed);
    }
}
