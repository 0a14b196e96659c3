// The main window on the offscreen platform: its controls, commands, the
// Doc Path dialog, and the configuration written at closing.

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
#include <QTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "app/window/OrvelTree.h"
#include "tests/support/QtPrinters.h"

namespace {

int argc = 1;
char arg0[] = "window_tests";
char* argv[] = {arg0, nullptr};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance())
            new QApplication(argc, argv);
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        delete window;
        QDir::setCurrent(previous);
    }

    orvel_tree* open()
    {
        window = new orvel_tree();
        window->exitProcess = [this](int status) { exitStatus = status; };
        QApplication::setActiveWindow(window);
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    QPushButton* button(const QString& caption) const
    {
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->text() == caption)
                return b;
        return nullptr;
    }
    QRadioButton* radio(const QString& caption) const
    {
        for (QRadioButton* b : window->findChildren<QRadioButton*>())
            if (b->text() == caption)
                return b;
        return nullptr;
    }

    // The texts of a row's controls from left to right (text fields as "[field]").
    QStringList rowTexts(QWidget* row) const
    {
        QStringList texts;
        QLayout* layout = row->layout();
        for (int i = 0; i < layout->count(); ++i) {
            QWidget* w = layout->itemAt(i)->widget();
            if (!w)
                continue;
            if (auto* l = qobject_cast<QLabel*>(w))
                texts << l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                texts << b->text();
            else if (qobject_cast<QLineEdit*>(w))
                texts << (w == window->classField() ? "[name]" : "[searchFor]");
        }
        return texts;
    }

    // Runs action while a timer answers the modal dialog that it opens.
    void answerDialog(const std::function<void(QDialog*)>& answer, const std::function<void()>& action)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answered = true;
            answer(dialog);
        });
        action();
        EXPECT_TRUE(answered);
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
    EXPECT_TRUE(window->isVisible());

    QWidget* classRow = window->classField()->parentWidget();
    QWidget* searchRow = window->searchField()->parentWidget();
    EXPECT_EQ(rowTexts(classRow), QStringList({"CLASS :", "[name]", "    ", "Main", "Swing", "Doc Path"}));
    EXPECT_EQ(rowTexts(searchRow),
              QStringList({"Search Text (optional) :", "[searchFor]", "      ", "Clr", "   ", "SEARCH"}));
    // The class row sits above the search row.
    EXPECT_LT(classRow->mapTo(window, QPoint()).y(), searchRow->mapTo(window, QPoint()).y());

    struct Look {
        QWidget* widget;
        int points;  // 0: the default font
        QColor text;
    };
    const QColor blue(0, 0, 255), black(0, 0, 0);
    QLabel* classLabel = nullptr;
    QLabel* searchLabel = nullptr;
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->text() == "CLASS :")
            classLabel = l;
        if (l->text() == "Search Text (optional) :")
            searchLabel = l;
    }
    ASSERT_TRUE(classLabel && searchLabel);
    const Look looks[] = {
        {classLabel, 14, black},       {searchLabel, 13, black},     {radio("Main"), 12, blue},
        {radio("Swing"), 12, blue},    {button("Doc Path"), 12, blue}, {button("Clr"), 13, black},
        {button("SEARCH"), 0, black},
    };
    for (const Look& look : looks) {
        ASSERT_NE(look.widget, nullptr);
        if (look.points) {
            EXPECT_EQ(look.widget->font().pixelSize(), look.points) << look.widget->metaObject()->className();
            EXPECT_EQ(look.widget->font().family(), "System");
        }
        const QPalette::ColorRole role =
            qobject_cast<QAbstractButton*>(look.widget) && !qobject_cast<QRadioButton*>(look.widget)
                ? QPalette::ButtonText
                : QPalette::WindowText;
        EXPECT_EQ(look.widget->palette().color(role), look.text) << look.widget->metaObject()->className();
    }
    EXPECT_EQ(window->classField()->palette().color(QPalette::Text), blue);
    EXPECT_EQ(window->classField()->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(window->searchField()->palette().color(QPalette::Text), blue);
    EXPECT_EQ(radio("Main")->toolTip(), "Set MAIN documentation path");
    EXPECT_EQ(radio("Swing")->toolTip(), "Set SWING documentation path");
    // The caption stands above the button: the control is taller than it is a text line.
    EXPECT_GT(radio("Main")->sizeHint().height(), radio("Main")->fontMetrics().height() + 8);

    QTextEdit* pane = window->textPane();
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->palette().color(QPalette::Base), QColor(240, 240, 255));
    EXPECT_TRUE(pane->toPlainText().isEmpty());
    EXPECT_EQ(window->getSelection(), "");
    EXPECT_TRUE(window->focusWidget() == window->classField());
}

TEST_F(WindowTest, RadioButtonsAreExclusive)
{
    open();
    EXPECT_TRUE(radio("Main")->isChecked());
    EXPECT_FALSE(radio("Swing")->isChecked());
    radio("Swing")->click();
    EXPECT_FALSE(radio("Main")->isChecked());
    EXPECT_TRUE(radio("Swing")->isChecked());
    radio("Main")->click();
    EXPECT_TRUE(radio("Main")->isChecked());
    EXPECT_FALSE(radio("Swing")->isChecked());
}

TEST_F(WindowTest, DocPathDialogSetsTheChosenRootOnlyOnOk)
{
    writeConfig("/main/api\n/swing/api\n");
    open();
    ASSERT_EQ(window->docPath(), "/main/api");

    QString prompt, prefilled, title;
    answerDialog(
        [&](QDialog* dialog) {
            title = dialog->windowTitle();
            for (QLabel* l : dialog->findChildren<QLabel*>())
                if (!l->text().isEmpty())
                    prompt = l->text();
            auto* field = dialog->findChild<QLineEdit*>();
            prefilled = field->text();
            EXPECT_TRUE(dialog->isModal());
            EXPECT_EQ(dialog->parentWidget(), window);
            field->setText(" /new/main ");
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        },
        [&] { button("Doc Path")->click(); });
    EXPECT_EQ(title, " Java Orvel");
    EXPECT_EQ(prompt, "Enter main documentation path");
    EXPECT_EQ(prefilled, "/main/api");
    EXPECT_EQ(window->docPath(), " /new/main ");
    EXPECT_EQ(window->docPath2(), "/swing/api");
    EXPECT_TRUE(window->focusWidget() == window->classField());

    // Swing selected: same prompt, the Swing root prefilled; Cancel changes nothing.
    radio("Swing")->click();
    answerDialog(
        [&](QDialog* dialog) {
            prefilled = dialog->findChild<QLineEdit*>()->text();
            dialog->findChild<QLineEdit*>()->setText("ignored");
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        },
        [&] { button("Doc Path")->click(); });
    EXPECT_EQ(prefilled, "/swing/api");
    EXPECT_EQ(window->docPath2(), "/swing/api");

    // The close box is no OK either.
    answerDialog(
        [&](QDialog* dialog) {
            dialog->findChild<QLineEdit*>()->setText("ignored");
            dialog->close();
        },
        [&] { button("Doc Path")->click(); });
    EXPECT_EQ(window->docPath2(), "/swing/api");

    // OK with an emptied field stores the empty text.
    answerDialog(
        [&](QDialog* dialog) {
            dialog->findChild<QLineEdit*>()->clear();
            dialog->accept();
        },
        [&] { button("Doc Path")->click(); });
    EXPECT_EQ(window->docPath2(), "");
    EXPECT_EQ(window->docPath(), " /new/main ");
    EXPECT_TRUE(window->focusWidget() == window->classField());
}

TEST_F(WindowTest, ClearEmptiesBothFieldsAndEnterIsNoCommand)
{
    open();
    window->classField()->setText("Vector");
    window->searchField()->setText("add");
    button("Clr")->click();
    EXPECT_EQ(window->classField()->text(), "");
    EXPECT_EQ(window->searchField()->text(), "");
    EXPECT_TRUE(window->focusWidget() == window->classField());

    // Enter reports the field's own text: never one of the three commands.
    for (const char* text : {"Doc Path", "Clear", " Search "}) {
        bool dialogOpened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogOpened = true;
                modal->close();
            }
        });
        window->classField()->setText(text);
        emit window->classField()->returnPressed();
        QApplication::processEvents();
        EXPECT_FALSE(dialogOpened) << text;
        EXPECT_EQ(window->classField()->text(), text);
        EXPECT_TRUE(window->focusWidget() == window->classField());
    }
}

TEST_F(WindowTest, CommandsAreRecognisedByTheirExactTexts)
{
    open();
    window->classField()->setText("x");
    QObject button;
    window->actionPerformed({&button, "Clr"});  // the caption, not the command text
    window->actionPerformed({&button, "clear"});
    window->actionPerformed({&button, ""});
    window->actionPerformed({window->classField(), "Clear"});  // the field's Enter is never a command
    EXPECT_EQ(window->classField()->text(), "x");
    window->actionPerformed({&button, "Clear"});
    EXPECT_EQ(window->classField()->text(), "");
}

TEST_F(WindowTest, AutoStartWithAnUnknownNameRunsNoSearch)
{
    open();
    window->classField()->setText("typed");
    window->searchField()->setText("kept?");
    window->autoStart("NoSuchPage");
    EXPECT_EQ(window->classField()->text(), "");
    EXPECT_EQ(window->searchField()->text(), "");
    EXPECT_EQ(window->memberTree(), nullptr);
}

TEST_F(WindowTest, ClosingSavesTheRootsAndExitsWithZero)
{
    writeConfig("P\r\nQ\r\nthird line\n");
    open();
    EXPECT_EQ(window->docPath(), "P");
    EXPECT_EQ(window->docPath2(), "Q");
    window->close();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_EQ(config(), "P\nQ\n");
}

TEST_F(WindowTest, StartWithoutConfigHasEmptyRootsAndClosingWritesTwoLineFeeds)
{
    open();
    EXPECT_EQ(window->docPath(), "");
    EXPECT_EQ(window->docPath2(), "");
    window->close();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_EQ(config(), "\n\n");
}

TEST_F(WindowTest, ConfigFolderIsLeftAloneAndClosingStillExitsWithZero)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("JavaOrvel.cfg"));
    open();
    window->close();
    EXPECT_EQ(exitStatus, 0);
    EXPECT_TRUE(QFileInfo(dir.filePath("JavaOrvel.cfg")).isDir());
}

namespace {

const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");

// The model index of the node with the given trimmed text under parent.
QModelIndex child(QAbstractItemModel* model, const QModelIndex& parent, const QString& text)
{
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex index = model->index(r, 0, parent);
        if (index.data().toString().trimmed() == text || index.data().toString().startsWith(text + "  "))
            return index;
    }
    return {};
}

}  // namespace

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

    void searchFor(const QString& typed)
    {
        window->classField()->setText(typed);
        button("SEARCH")->click();
        QApplication::processEvents();
    }
};

TEST_F(WindowWithJdkTest, SearchCompletesSwingNamesAndBuildsTheTree)
{
    open();
    searchFor("JTree");
    EXPECT_EQ(window->classField()->text(), "com.sun.java.swing.JTree");
    EXPECT_EQ(window->getName2(), "com.sun.java.swing.JTree");
    ASSERT_NE(window->memberTree(), nullptr);
    QAbstractItemModel* model = window->memberTree()->model();
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(root.data().toString(), "Methods");
    EXPECT_TRUE(child(model, root, "constructors").isValid());
    EXPECT_TRUE(child(model, root, "com.sun.java.swing.JTree").isValid());
    EXPECT_TRUE(child(model, root, "java.lang.Object").isValid());
    EXPECT_FALSE(window->signatures().isEmpty());
    EXPECT_TRUE(window->signatures().first().startsWith("public com.sun.java.swing.JTree("));
    EXPECT_EQ(window->focusWidget(), window->classField());
}

TEST_F(WindowWithJdkTest, FailedLookupClearsTheTreeAndKeepsTheLastResults)
{
    open();
    searchFor("Vector");
    ASSERT_NE(window->memberTree(), nullptr);
    const QStringList before = window->signatures();
    window->textPane()->setPlainText("kept");
    searchFor("java.lang.Strng");
    EXPECT_EQ(window->memberTree(), nullptr);
    EXPECT_EQ(window->signatures(), before);
    EXPECT_EQ(window->textPane()->toPlainText(), "kept");
    // The window is not broken: the next lookup shows a tree again.
    searchFor("java.lang.Object");
    ASSERT_NE(window->memberTree(), nullptr);
    EXPECT_TRUE(window->memberTree()->isVisible());
    // A blank name empties the signatures and leaves the tree.
    searchFor("   ");
    EXPECT_TRUE(window->signatures().isEmpty());
    EXPECT_NE(window->memberTree(), nullptr);
}

TEST_F(WindowWithJdkTest, SelectingALeafShowsItsDocumentationWithABoldFirstLine)
{
    open();
    searchFor("Vector");
    ASSERT_EQ(window->classField()->text(), "java.util.Vector");
    lookup::MemberTreeView* tree = window->memberTree();
    ASSERT_NE(tree, nullptr);
    QAbstractItemModel* model = tree->model();
    const QModelIndex group = child(model, model->index(0, 0), "java.util.Vector");
    ASSERT_TRUE(group.isValid());
    const QModelIndex leaf = child(model, group, "insertElementAt");
    ASSERT_TRUE(leaf.isValid());
    window->searchField()->setFocus();
    tree->selectionModel()->select(leaf, QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();

    const QString text = window->textPane()->toPlainText();
    ASSERT_FALSE(text.isEmpty());
    const QString firstLine = text.left(text.indexOf('\n'));
    EXPECT_TRUE(firstLine.contains("insertElementAt(")) << firstLine.toStdString();
    EXPECT_EQ(text.mid(firstLine.size() + 1, 123), "  " + QString(121, '-'));

    QTextDocument* doc = window->textPane()->document();
    const QTextBlock first = doc->firstBlock();
    QTextCursor inFirst(first);
    inFirst.setPosition(first.position() + 3);
    EXPECT_EQ(inFirst.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(inFirst.charFormat().foreground().color(), QColor(0, 0, 255));
    QTextCursor later(first.next());
    later.setPosition(first.next().position() + 3);
    EXPECT_NE(later.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(later.charFormat().foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(later.charFormat().font().family(), "System");
    EXPECT_EQ(window->textPane()->textCursor().position(), 0);
    EXPECT_EQ(window->focusWidget(), window->classField());

    // Selecting the root does nothing at all.
    window->searchField()->setFocus();
    tree->selectionModel()->select(model->index(0, 0), QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
    EXPECT_EQ(window->textPane()->toPlainText(), text);
}

TEST_F(WindowWithJdkTest, WithoutRootsNothingIsExtracted)
{
    writeConfig("\n\n");
    open();
    searchFor("Vector");
    lookup::MemberTreeView* tree = window->memberTree();
    ASSERT_NE(tree, nullptr);
    QAbstractItemModel* model = tree->model();
    const QModelIndex group = child(model, model->index(0, 0), "java.util.Vector");
    const QModelIndex leaf = child(model, group, "size");
    ASSERT_TRUE(leaf.isValid());
    tree->selectionModel()->select(leaf, QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
    EXPECT_TRUE(window->textPane()->toPlainText().isEmpty());
    EXPECT_EQ(window->focusWidget(), window->classField());
}

TEST_F(WindowWithJdkTest, AutoStartUsesTheCatalogueNameUnchanged)
{
    open();
    window->searchField()->setText("x");
    window->autoStart("JTree");
    EXPECT_EQ(window->classField()->text(), "javax.swing.JTree");
    EXPECT_EQ(window->searchField()->text(), "");
    EXPECT_EQ(window->getName2(), "");
    EXPECT_NE(window->memberTree(), nullptr);
}
