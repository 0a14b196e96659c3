// The main window on the offscreen platform: its controls, commands, the
// Doc Path dialog, the configuration written at closing, and (with the
// installed JDK and its documentation) lookup and selection end to end.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <functional>

#include "app/window/OrvelTree.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/QtPrinters.h"

namespace {

int argc = 1;
char arg0[] = "window_tests";
char* argv[] = {arg0, nullptr};
const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance())
            new QApplication(argc, argv);
    }
    void SetUp() override
    {
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());  // the configuration file lives in the working folder
    }
    void TearDown() override
    {
        delete window;
        QDir::setCurrent(previous);
    }

    void open()
    {
        window = new orvel_tree();
        window->exitProcess = [this](int status) { exitStatus = status; };
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    }
    template <class T> T* control(const QString& text) const
    {
        for (T* w : window->findChildren<T*>())
            if (w->text() == text)
                return w;
        return nullptr;
    }
    bool focusInClassField() const { return window->focusWidget() == window->classField(); }

    // The texts of a row's controls from left to right (text fields as "[field]").
    static QStringList rowTexts(QWidget* row)
    {
        QStringList texts;
        for (int i = 0; i < row->layout()->count(); ++i) {
            QWidget* w = row->layout()->itemAt(i)->widget();
            if (auto* l = qobject_cast<QLabel*>(w))
                texts << l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                texts << b->text();
            else if (qobject_cast<QLineEdit*>(w))
                texts << "[field]";
        }
        return texts;
    }

    // Presses "Doc Path" while a timer answers the modal dialog it opens.
    void docPath(const std::function<void(QDialog*, QLineEdit*)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), " Java Orvel");
            EXPECT_TRUE(dialog->isModal());
            EXPECT_EQ(dialog->parentWidget(), window);
            EXPECT_NE(control<QLabel>("Enter main documentation path"), nullptr);
            answered = true;
            answer(dialog, dialog->findChild<QLineEdit*>());
        });
        control<QPushButton>("Doc Path")->click();
        EXPECT_TRUE(answered);
        EXPECT_TRUE(focusInClassField());
    }

    void writeConfig(const QByteArray& bytes)
    {
        QFile f(dir.filePath("JavaOrvel.cfg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray config() const
    {
        QFile f(dir.filePath("JavaOrvel.cfg"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QString previous;
    orvel_tree* window = nullptr;
    int exitStatus = -1;
};

}  // namespace

TEST_F(WindowTest, ControlsStandInTheirRowsWithTheirLooks)
{
    open();
    EXPECT_TRUE(window->windowTitle().contains("1.02a"));
    EXPECT_EQ(window->pos(), QPoint(260, 20));
    EXPECT_EQ(window->size(), QSize(535, 550));
    QWidget* classRow = window->classField()->parentWidget();
    QWidget* searchRow = window->searchField()->parentWidget();
    EXPECT_EQ(rowTexts(classRow), QStringList({"CLASS :", "[field]", "    ", "Main", "Swing", "Doc Path"}));
    EXPECT_EQ(
        rowTexts(searchRow), QStringList({"Search Text (optional) :", "[field]", "      ", "Clr", "   ", "SEARCH"}));
    EXPECT_LT(classRow->mapTo(window, QPoint()).y(), searchRow->mapTo(window, QPoint()).y());

    const QColor blue(0, 0, 255), black(0, 0, 0);
    struct Look {
        QWidget* widget;
        int size;  // 0: the default font
        QColor text;
        QPalette::ColorRole role;
    };
    const Look looks[] = {
        {control<QLabel>("CLASS :"), 14, black, QPalette::WindowText},
        {control<QLabel>("Search Text (optional) :"), 13, black, QPalette::WindowText},
        {control<QRadioButton>("Main"), 12, blue, QPalette::WindowText},
        {control<QRadioButton>("Swing"), 12, blue, QPalette::WindowText},
        {control<QPushButton>("Doc Path"), 12, blue, QPalette::ButtonText},
        {control<QPushButton>("Clr"), 13, black, QPalette::ButtonText},
        {control<QPushButton>("SEARCH"), 0, black, QPalette::ButtonText},
        {window->classField(), 0, blue, QPalette::Text},
        {window->searchField(), 0, blue, QPalette::Text},
    };
    for (const Look& look : looks) {
        ASSERT_NE(look.widget, nullptr);
        if (look.size) {
            EXPECT_EQ(look.widget->font().pixelSize(), look.size);
            EXPECT_EQ(look.widget->font().family(), "System");
        }
        EXPECT_EQ(look.widget->palette().color(look.role), look.text) << look.widget->metaObject()->className();
    }
    EXPECT_EQ(window->classField()->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(control<QRadioButton>("Main")->toolTip(), "Set MAIN documentation path");
    EXPECT_EQ(control<QRadioButton>("Swing")->toolTip(), "Set SWING documentation path");
    // The caption stands above the button.
    EXPECT_GT(
        control<QRadioButton>("Main")->sizeHint().height(), 2 * control<QRadioButton>("Main")->fontMetrics().height());
    EXPECT_TRUE(window->textPane()->isReadOnly());
    EXPECT_EQ(window->textPane()->palette().color(QPalette::Base), QColor(240, 240, 255));
    EXPECT_EQ(window->getSelection(), "");
    EXPECT_TRUE(focusInClassField());

    // Exactly one of the two roots is chosen at any time.
    auto* main = control<QRadioButton>("Main");
    auto* swing = control<QRadioButton>("Swing");
    EXPECT_TRUE(main->isChecked() && !swing->isChecked());
    swing->click();
    EXPECT_TRUE(!main->isChecked() && swing->isChecked());
}

TEST_F(WindowTest, DocPathDialogSetsTheChosenRootOnlyOnOk)
{
    writeConfig("/main/api\n/swing/api\n");
    open();
    docPath([](QDialog* dialog, QLineEdit* field) {
        EXPECT_EQ(field->text(), "/main/api");
        field->setText(" /new/main ");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(window->docPath(), " /new/main ");
    EXPECT_EQ(window->docPath2(), "/swing/api");

    // Swing chosen: the same prompt with the Swing root; Cancel and the close box change nothing.
    control<QRadioButton>("Swing")->click();
    docPath([](QDialog* dialog, QLineEdit* field) {
        EXPECT_EQ(field->text(), "/swing/api");
        field->setText("ignored");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    docPath([](QDialog* dialog, QLineEdit* field) {
        field->setText("ignored");
        dialog->close();
    });
    EXPECT_EQ(window->docPath2(), "/swing/api");
    docPath([](QDialog* dialog, QLineEdit* field) {
        field->clear();
        dialog->accept();
    });
    EXPECT_EQ(window->docPath2(), "");
    EXPECT_EQ(window->docPath(), " /new/main ");
}

TEST_F(WindowTest, OnlyTheButtonsCommandTextsAreCommands)
{
    open();
    window->classField()->setText("Vector");
    window->searchField()->setText("add");
    control<QPushButton>("Clr")->click();
    EXPECT_EQ(window->classField()->text(), "");
    EXPECT_EQ(window->searchField()->text(), "");
    EXPECT_TRUE(focusInClassField());

    QObject button;
    window->classField()->setText("x");
    for (const char* notACommand : {"Clr", "clear", ""}) window->actionPerformed({&button, notACommand});
    // Enter in the class field reports its own text, never one of the commands.
    for (const char* text : {"Doc Path", "Clear", " Search "}) {
        window->classField()->setText(text);
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "Enter opened a dialog";
                modal->close();
            }
        });
        emit window->classField()->returnPressed();
        QApplication::processEvents();
        EXPECT_EQ(window->classField()->text(), text);
        EXPECT_TRUE(focusInClassField());
    }
}

TEST_F(WindowTest, ClosingSavesTheRootsAndExitsWithZero)
{
    struct Case {
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {"P\r\nQ\r\nthird line\n", "P\nQ\n"},  // extra lines are gone after the save
        {"", "\n\n"},                          // no file: two line feeds
    };
    for (const Case& c : cases) {
        QFile::remove(dir.filePath("JavaOrvel.cfg"));
        if (!c.before.isEmpty())
            writeConfig(c.before);
        open();
        window->close();
        EXPECT_EQ(exitStatus, 0);
        EXPECT_EQ(config(), c.after);
        delete window;
        window = nullptr;
        exitStatus = -1;
    }
    // A configuration "file" that is a folder is left alone; the exit is still 0.
    QFile::remove(dir.filePath("JavaOrvel.cfg"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("JavaOrvel.cfg"));
    open();
    window->close();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_TRUE(QFileInfo(dir.filePath("JavaOrvel.cfg")).isDir());
}

namespace {

// Lookup and documentation end to end, on the installed JDK and its documentation.
class WindowWithJdkTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!QFileInfo::exists(kApi + "/java.base/java/util/Vector.html"))
            GTEST_SKIP() << "the JDK documentation (openjdk-17-doc) is not installed";
        writeConfig((kApi + "/java.base\n" + kApi + "/java.desktop\n").toUtf8());
    }
    void search(const QString& typed)
    {
        window->classField()->setText(typed);
        control<QPushButton>("SEARCH")->click();
    }
    // The node whose text starts with the given member or group name.
    QModelIndex node(const QModelIndex& parent, const QString& name) const
    {
        QAbstractItemModel* model = window->memberTree()->model();
        for (int r = 0; r < model->rowCount(parent); ++r) {
            const QModelIndex index = model->index(r, 0, parent);
            if (index.data().toString().startsWith(name + " ") || index.data().toString() == name)
                return index;
        }
        return {};
    }
    QModelIndex root() const { return window->memberTree()->model()->index(0, 0); }
    void select(const QModelIndex& index)
    {
        window->searchField()->setFocus();
        window->memberTree()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    }
};

}  // namespace

TEST_F(WindowWithJdkTest, SearchCompletesNamesAndAFailedLookupDoesNotBreakTheWindow)
{
    open();
    search("JTree");
    EXPECT_EQ(window->classField()->text(), "com.sun.java.swing.JTree");
    EXPECT_EQ(window->getName2(), "com.sun.java.swing.JTree");
    ASSERT_NE(window->memberTree(), nullptr);
    EXPECT_EQ(root().data().toString(), "Methods");
    for (const char* group : {"constructors", "com.sun.java.swing.JTree", "java.lang.Object"})
        EXPECT_TRUE(node(root(), group).isValid()) << group;
    EXPECT_TRUE(window->signatures().first().startsWith("public com.sun.java.swing.JTree("));

    const QStringList before = window->signatures();
    window->textPane()->setPlainText("kept");
    search("java.lang.Strng");
    EXPECT_EQ(window->memberTree(), nullptr);
    EXPECT_EQ(window->signatures(), before);
    EXPECT_EQ(window->textPane()->toPlainText(), "kept");
    search("java.lang.Object");
    ASSERT_NE(window->memberTree(), nullptr);
    EXPECT_TRUE(window->memberTree()->isVisible());
    search("   ");  // blank: no lookup, the signatures emptied, the tree left
    EXPECT_TRUE(window->signatures().isEmpty());
    EXPECT_NE(window->memberTree(), nullptr);

    // autoStart keeps the catalogue's name as it is and leaves name2 alone.
    window->autoStart("JTable");
    EXPECT_EQ(window->classField()->text(), "javax.swing.JTable");
    EXPECT_EQ(window->getName2(), "com.sun.java.swing.JTree");
    window->autoStart("NoSuchPage");
    EXPECT_EQ(window->classField()->text(), "");
}

TEST_F(WindowWithJdkTest, SelectingALeafShowsItsDocumentationWithABoldFirstLine)
{
    open();
    search("Vector");
    const QModelIndex leaf = node(node(root(), "java.util.Vector"), "insertElementAt");
    ASSERT_TRUE(leaf.isValid());
    select(leaf);
    const QString text = window->textPane()->toPlainText();
    const QString firstLine = text.left(text.indexOf('\n'));
    EXPECT_TRUE(firstLine.contains("insertElementAt(")) << text.toStdString();
    EXPECT_EQ(text.mid(firstLine.size() + 1, 123), "  " + QString(121, '-'));

    auto formatAt = [&](const QTextBlock& block) {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 3);
        return cursor.charFormat();
    };
    const QTextBlock first = window->textPane()->document()->firstBlock();
    EXPECT_EQ(formatAt(first).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(first).foreground().color(), QColor(0, 0, 255));
    EXPECT_NE(formatAt(first.next()).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(first.next()).foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(first.next()).font().family(), "System");
    EXPECT_EQ(window->textPane()->textCursor().position(), 0);
    EXPECT_TRUE(focusInClassField());

    select(root());  // the root alone: nothing happens
    EXPECT_EQ(window->textPane()->toPlainText(), text);
}

// No page to read: the JDK's src.zip answers, when openjdk-17-source is installed.
TEST_F(WindowWithJdkTest, WithoutRootsTheSourcesAnswer)
{
    writeConfig("\n\n");
    open();
    search("Vector");
    select(node(node(root(), "java.util.Vector"), "size"));
    const QString home = QString::fromStdString(platform::classlib::ClassLibrary::system().jdkHome());
    if (QFileInfo(home + "/lib/src.zip").isFile())
        EXPECT_TRUE(window->textPane()->toPlainText().startsWith("  public int size()\n"));
    else
        EXPECT_TRUE(window->textPane()->toPlainText().isEmpty());
    EXPECT_TRUE(focusInClassField());
}
