// The main window on the offscreen platform: its rows, commands, the Doc Path
// dialog, the configuration written at closing (and what it must leave
// alone), and (with the installed JDK and its documentation) lookup and
// selection end to end. The configuration file's own rules are
// ConfigFileTest's; fonts, colours and sizes are not re-listed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
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
#include <sys/stat.h>

#include "app/window/OrvelTree.h"
#include "javadoc/source/FoundRoots.h"
#include "lookup/ClassIndexProvider.h"
#include "platform/Version.h"
#include "platform/classlib/ClassLibrary.h"
#include "project/ProjectResolver.h"
#include "tests/support/Files.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/QtPrinters.h"

using test_support::readFile;
using test_support::writeFile;

namespace {

class WindowTest : public test_support::MainWindowTest {
protected:
    template <class T> T* control(const QString& text) const
    {
        for (T* w : window->findChildren<T*>())
            if (w->text() == text)
                return w;
        return nullptr;
    }
    bool focusInClassField() const { return window->focusWidget() == window->classField(); }
    QString config() const { return dir.filePath("JavaOrvel.cfg"); }

    // Presses "Doc Path" while a timer answers the modal dialog it opens.
    void docPath(const std::function<void(QDialog*, QLineEdit*)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), " Java Orvel");
            EXPECT_EQ(dialog->parentWidget(), window);
            answered = true;
            answer(dialog, dialog->findChild<QLineEdit*>());
        });
        control<QPushButton>("Doc Path")->click();
        EXPECT_TRUE(answered);
        EXPECT_TRUE(focusInClassField());
    }
};

}  // namespace

TEST_F(WindowTest, RowsAndStartState)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Java Orvel " JO_VERSION);
    // The texts of a row's controls from left to right (text fields as "[field]").
    auto rowTexts = [](QWidget* row) {
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
    };
    QWidget* classRow = window->classField()->parentWidget();
    QWidget* searchRow = window->searchField()->parentWidget();
    EXPECT_EQ(rowTexts(classRow), QStringList({"CLASS :", "[field]", "    ", "Main", "Swing", "Doc Path"}));
    EXPECT_EQ(
        rowTexts(searchRow), QStringList({"Search Text (optional) :", "[field]", "      ", "Clr", "   ", "SEARCH"}));
    EXPECT_LT(classRow->mapTo(window, QPoint()).y(), searchRow->mapTo(window, QPoint()).y());
    auto* main = control<QRadioButton>("Main");
    auto* swing = control<QRadioButton>("Swing");
    EXPECT_GT(main->sizeHint().height(), 2 * main->fontMetrics().height());  // the caption stands above the button
    EXPECT_TRUE(window->textPane()->isReadOnly());
    EXPECT_TRUE(focusInClassField());
    // Exactly one of the two roots is chosen at any time.
    EXPECT_TRUE(main->isChecked() && !swing->isChecked());
    swing->click();
    EXPECT_TRUE(!main->isChecked() && swing->isChecked());
}

// A project names itself in the title; only a problem brings the status line,
// below the panes, and the rows above keep their place.
TEST_F(WindowTest, ProjectInTheTitleAndItsProblemInTheStatusLine)
{
    open();
    const QPoint fieldAt = window->classField()->mapTo(window, QPoint());
    window->showProject("shop", "");
    EXPECT_EQ(window->windowTitle(), "Java Orvel " JO_VERSION " \u2014 shop");
    EXPECT_EQ(window->statusText(), "");
    window->showProject("", "javaorvel: project /p: mvn not found on PATH; going on with CLASSPATH only");
    QApplication::processEvents();
    EXPECT_EQ(window->statusText(), "javaorvel: project /p: mvn not found on PATH; going on with CLASSPATH only");
    auto* status = control<QLabel>(window->statusText());
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    EXPECT_GT(status->mapTo(window, QPoint()).y(), window->textPane()->mapTo(window, QPoint()).y());
    EXPECT_EQ(window->classField()->mapTo(window, QPoint()), fieldAt);
}

TEST_F(WindowTest, DocPathDialogSetsTheChosenRootOnlyOnOkAndClosingSavesBoth)
{
    writeFile(config(), "/main/api\n/swing/api\n");
    open();
    auto press = [](QDialogButtonBox::StandardButton button) {
        return [button](QDialog* dialog, QLineEdit* field) {
            field->setText(button == QDialogButtonBox::Ok ? " /new " : "ignored");
            dialog->findChild<QDialogButtonBox*>()->button(button)->click();
        };
    };
    docPath([&](QDialog* dialog, QLineEdit* field) {
        EXPECT_EQ(field->text(), "/main/api");
        press(QDialogButtonBox::Ok)(dialog, field);
    });
    EXPECT_EQ(window->docPath(), " /new ");
    // Swing chosen: the Swing root; Cancel and the close box change nothing.
    control<QRadioButton>("Swing")->click();
    docPath([&](QDialog* dialog, QLineEdit* field) {
        EXPECT_EQ(field->text(), "/swing/api");
        press(QDialogButtonBox::Cancel)(dialog, field);
    });
    docPath([](QDialog* dialog, QLineEdit*) { dialog->close(); });
    EXPECT_EQ(window->docPath2(), "/swing/api");
    docPath(press(QDialogButtonBox::Ok));
    EXPECT_EQ(window->docPath2(), " /new ");
    window->close();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_EQ(readFile(config()), " /new \n /new \n");
}

TEST_F(WindowTest, OnlyTheButtonsCommandTextsAreCommands)
{
    open();
    window->classField()->setText("Vector");
    window->searchField()->setText("add");
    control<QPushButton>("Clr")->click();
    EXPECT_EQ(window->classField()->text() + window->searchField()->text(), "");
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

namespace {

// Lookup and documentation end to end, on the installed JDK and its documentation.
class WindowWithJdkTest : public WindowTest {
protected:
    const QString api = "/usr/share/doc/openjdk-17-jre-headless/api";
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!QFileInfo::exists(api + "/java.base/java/util/Vector.html"))
            GTEST_SKIP() << "the JDK documentation (openjdk-17-doc) is not installed";
        writeFile(config(), (api + "/java.base\n" + api + "/java.desktop\n").toUtf8());
        // A name the catalogue does not know waits for the class index: let it come first.
        ASSERT_TRUE(until([] { return lookup::ClassIndexProvider::system().isReady(); }));
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
    search("JTree");  // completed and renamed as SearchNamingTest shows, then looked up
    EXPECT_EQ(window->getName2(), "com.sun.java.swing.JTree");
    ASSERT_NE(window->memberTree(), nullptr);
    EXPECT_TRUE(node(root(), "com.sun.java.swing.JTree").isValid());

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
}

TEST_F(WindowWithJdkTest, SelectingALeafShowsItsDocumentationWithABoldFirstLine)
{
    open();
    search("Vector");
    const QModelIndex leaf = node(node(root(), "java.util.Vector"), "insertElementAt");
    ASSERT_TRUE(leaf.isValid());
    select(leaf);
    const QString text = window->textPane()->toPlainText();
    EXPECT_TRUE(text.section('\n', 0, 0).contains("insertElementAt(")) << text.toStdString();
    auto weightAt = [&](const QTextBlock& block) {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 3);
        return cursor.charFormat().fontWeight();
    };
    const QTextBlock first = window->textPane()->document()->firstBlock();
    EXPECT_EQ(weightAt(first), QFont::Bold);
    EXPECT_NE(weightAt(first.next()), QFont::Bold);
    EXPECT_EQ(window->textPane()->textCursor().position(), 0);
    EXPECT_TRUE(focusInClassField());

    select(root());  // the root alone: nothing happens
    EXPECT_EQ(window->textPane()->toPlainText(), text);
    // Without configured roots: the JDK's own documentation found for it
    // answers, else its src.zip (openjdk-17-source), else nothing.
    writeFile(config(), "\n\n");
    delete window;
    open();
    search("Vector");
    select(node(node(root(), "java.util.Vector"), "size"));
    const QString home = QString::fromStdString(platform::classlib::ClassLibrary::system().jdkHome());
    if (!javadoc::source::foundDocRoots(QStringLiteral("java.util.Vector")).isEmpty() ||
        QFileInfo(home + "/lib/src.zip").isFile())
        EXPECT_TRUE(window->textPane()->toPlainText().startsWith("  public int size()\n"));
    else
        EXPECT_TRUE(window->textPane()->toPlainText().isEmpty());
}

TEST_F(WindowTest, ClosingLosesNothingTheRunDidNotChange)
{
    const QString cfg = config();
    const QByteArray tooLong = QByteArray(2 << 20, 'x') + "\nQ\n";
    const struct {
        QByteArray before;  // "fifo" and "zero": a FIFO, a link to /dev/zero
        QString paste;      // pasted as the main root; null: no Doc Path
        QByteArray after;   // null: the file as it was
    } cases[] = {
        {"/home/jos\xe9/api\n/s\xff\n", {}, "/home/jos\xe9/api\n/s\xff\n"},  // not UTF-8, unchanged
        {"/home/jos\xe9/api\n/s\xff\nthird\n", "/new", "/new\n/s\xff\n"},
        {"/main\n/swing\n", "/pasted/api\n", "/pasted/api\n/swing\n"},  // as copied from a terminal
        {"/main\n/swing\n", "\r\n/a\r\nb c\n", "/a b c\n/swing\n"},
        {tooLong, {}, {}},              // could not be read: left as it is...
        {tooLong, "/set", "/set\n\n"},  // ...unless a root was set
        {"fifo", {}, {}},
        {"zero", {}, {}},
    };
    for (const auto& c : cases) {
        QFile::remove(cfg);
        if (c.before == "fifo")
            ASSERT_EQ(mkfifo(QFile::encodeName(cfg), 0600), 0);
        else if (c.before == "zero")
            ASSERT_TRUE(QFile::link("/dev/zero", cfg));
        else
            writeFile(cfg, c.before);
        const QFileInfo was(cfg);
        open();
        if (!c.paste.isNull()) {
            QApplication::clipboard()->setText(c.paste);
            docPath([](QDialog* dialog, QLineEdit* field) {
                field->selectAll();
                field->paste();
                dialog->accept();
            });
        }
        window->close();
        EXPECT_EQ(exitStatus, 0);
        const QFileInfo now(cfg);
        EXPECT_TRUE(now.isSymLink() == was.isSymLink() && now.isFile() == was.isFile());
        if (now.isFile()) {
            EXPECT_EQ(readFile(cfg), c.after.isNull() ? c.before : c.after) << c.paste.toStdString();
        }
        delete window;
        window = nullptr;
    }
}

TEST_F(WindowWithJdkTest, ASinceSearchTextKeepsTheMembersAddedAfterThatRelease)
{
    const std::vector<int> held = platform::classlib::ClassLibrary::system().releasesUpToThis();
    if (held.size() < 2 || held.front() > 9 || held.back() < 11)
        GTEST_SKIP() << "no JDK holding releases 9 to 11";
    open();
    window->searchField()->setText("since:9");
    search("java.util.List");
    ASSERT_NE(window->memberTree(), nullptr);
    const QModelIndex list = node(root(), "java.util.List");
    EXPECT_TRUE(node(list, "copyOf").isValid());
    EXPECT_FALSE(node(list, "of").isValid());
    EXPECT_FALSE(node(list, "size").isValid());
    window->searchField()->setText("since:");  // not a release: a plain search text, found nowhere
    search("java.util.List");
    EXPECT_EQ(window->memberTree()->model()->rowCount(root()), 0);
}

// A project whose build tool is slow: the window is there and answers events
// at once, a SEARCH waits without reading the class library, and runs when the
// resolver's answer releases the library.
TEST_F(WindowWithJdkTest, ProjectResolvingKeepsTheWindowResponsive)
{
    QTemporaryDir tools;
    writeFile(dir.filePath("proj/pom.xml"), "<project/>");
    writeFile(tools.filePath("mvn"),
        "#!/bin/sh\nfor a; do case \"$a\" in -Dmdep.outputFile=*) out=${a#-Dmdep.outputFile=};; esac; done\n"
        "sleep 2\nprintf '/nonexistent/a.jar' > \"$out\"\n");
    QFile::setPermissions(tools.filePath("mvn"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", tools.path().toUtf8() + ":" + savedPath);

    window = new orvel_tree(orvel_tree::LibraryStart::Held);
    window->exitProcess = [this](int status) { exitStatus = status; };
    project::ProjectResolver resolver;
    bool resolved = false;
    QObject::connect(&resolver, &project::ProjectResolver::resolved, window, [&](const project::ProjectClasspath& c) {
        resolved = true;
        window->showStatus(c.error.isEmpty() ? "resolved" : c.error);
        window->releaseLibrary();
    });
    window->showStatus("resolving");
    resolver.start(dir.filePath("proj"), {dir.filePath("cache"), 30'000, {}});
    search("java.util.Vector");
    EXPECT_EQ(window->memberTree(), nullptr) << "the SEARCH ran before the project was resolved";

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    while (!resolved && clock.elapsed() < 30'000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    qputenv("PATH", savedPath);
    ASSERT_TRUE(resolved);
    EXPECT_GE(ticks, 20) << "the event loop stood still while the tool ran";
    EXPECT_EQ(window->statusText(), "resolved");
    ASSERT_NE(window->memberTree(), nullptr);
    EXPECT_TRUE(node(root(), "java.util.Vector").isValid());
}
