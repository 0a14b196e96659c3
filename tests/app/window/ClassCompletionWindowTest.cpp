// The window's completion list and failure view on the offscreen platform,
// over the installed JDK's class index.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "app/BrowseHistory.h"
#include "app/window/CompletionPopup.h"
#include "app/window/LookupFailureView.h"
#include "app/window/OrvelTree.h"
#include "lookup/ClassCompletion.h"
#include "lookup/ClassIndexProvider.h"
#include "lookup/widgets/MemberTreeView.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/QtPrinters.h"

namespace {

class CompletionWindowTest : public test_support::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (platform::classlib::ClassLibrary::system().jdkHome().empty())
            GTEST_SKIP() << "no JDK installed";
        open();
        window->classField()->setFocus();
        // The list opens only once the index is handed over.
        ASSERT_TRUE(until([] { return lookup::ClassIndexProvider::system().isReady(); }));
    }
    QListWidget* list() const { return window->completionList()->list(); }
    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; list()->isVisible() && i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    void type(const QString& text)
    {
        QTest::keyClicks(window->classField(), text);
        EXPECT_TRUE(until([this] { return !window->completionList()->isWaiting(); }));
    }
    void key(Qt::Key k) { QTest::keyClick(window->classField(), k); }
};

}  // namespace

TEST_F(CompletionWindowTest, TypingOpensTheListFromTheSecondCharacter)
{
    type("C");
    EXPECT_FALSE(list()->isVisible());
    type("oHaMa");
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(rows().first(), "ConcurrentHashMap");
    EXPECT_EQ(list()->item(0)->data(Qt::UserRole + 1).toString(), "java.util.concurrent");
    key(Qt::Key_Escape);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(window->classField()->text(), "CoHaMa");

    window->classField()->setText("Str");  // the program's own text opens nothing
    EXPECT_FALSE(list()->isVisible());
    type("ingBu");
    EXPECT_EQ(rows(), QStringList({"StringBuffer", "StringBuilder", "StringBufferInputStream"}));  // deprecated last
    // Enter with no row chosen is the field's own: the list closes, no lookup.
    key(Qt::Key_Return);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(window->memberTree(), nullptr);
}

TEST_F(CompletionWindowTest, ChoosingARowLooksTheClassUp)
{
    type("StringBu");
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(window->classField()->text(), "java.lang.StringBuilder");
    ASSERT_NE(window->memberTree(), nullptr);

    window->classField()->clear();
    type("JLay");  // a Swing class the catalogue never knew: the old naming
    ASSERT_TRUE(list()->isVisible());
    const QRect row = list()->visualItemRect(list()->item(0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window->classField()->text(), "com.sun.java.swing.JLayer");
    EXPECT_EQ(window->getName2(), "com.sun.java.swing.JLayer");
    EXPECT_NE(window->memberTree(), nullptr);
}

TEST_F(CompletionWindowTest, SearchAndAutoStartCompleteThroughTheIndex)
{
    const struct {
        QString typed, field;
    } cases[] = {
        {"Optional", "java.util.Optional"},
        {"Cipher", "javax.crypto.Cipher"},  // no old naming outside javax.swing and javax.accessibility
        {"JLayer", "com.sun.java.swing.JLayer"},
        {"Map.Entry", "java.util.Map$Entry"},  // the catalogue's name, found in its binary form
    };
    for (const auto& c : cases) {
        search(c.typed);
        EXPECT_EQ(window->classField()->text(), c.field) << c.typed.toStdString();
        EXPECT_NE(window->memberTree(), nullptr) << c.typed.toStdString();
    }
    window->autoStart("Optional");
    EXPECT_EQ(window->classField()->text(), "java.util.Optional");
}

TEST_F(CompletionWindowTest, AFailedLookupShowsItsMessageAndSuggestions)
{
    search("java.util.Stream");
    EXPECT_EQ(window->memberTree(), nullptr);
    app::LookupFailureView* view = window->failureView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->message(), "Class not found : java.util.Stream");
    ASSERT_TRUE(until([view] { return !view->suggestionButtons().empty(); }));
    EXPECT_EQ(view->suggestionButtons().front()->text(), "java.util.stream.Stream");
    view->suggestionButtons().front()->click();
    QApplication::processEvents();
    EXPECT_EQ(window->classField()->text(), "java.util.stream.Stream");
    EXPECT_NE(window->memberTree(), nullptr);
    EXPECT_EQ(window->failureView(), nullptr);

    search(QString(300, '.'));
    ASSERT_NE(window->failureView(), nullptr);
    EXPECT_TRUE(window->failureView()->suggestionButtons().empty());
}

namespace {

// The selected leaf as (group row, leaf row); (-1, -1) when none is.
std::pair<int, int> selectedLeaf(const orvel_tree* window)
{
    const QModelIndex i = window->memberTree()->currentIndex();
    if (!i.data(lookup::kMemberRole).isValid() || window->memberTree()->getSelectionCount() == 0)
        return {-1, -1};
    return {i.parent().row(), i.row()};
}

}  // namespace

TEST_F(CompletionWindowTest, AMethodRowOpensItsClassAtItsLeaf)
{
    type("#toUnmodifiableList");
    ASSERT_TRUE(until([this] { return list()->isVisible(); }));  // the member index may be built first
    int row = 0;
    while (row < list()->count() && !list()->item(row)->toolTip().startsWith("java.util.stream.Collectors.")) ++row;
    ASSERT_LT(row, list()->count()) << rows().join(' ').toStdString();
    for (int i = 0; i <= row; ++i) key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(window->classField()->text(), "java.util.stream.Collectors");
    ASSERT_NE(window->memberTree(), nullptr);
    const auto member = window->memberTree()->currentIndex().data(lookup::kMemberRole).value<platform::Member>();
    EXPECT_EQ(member.name, "toUnmodifiableList");
    EXPECT_TRUE(window->classField()->hasFocus());
}

TEST_F(CompletionWindowTest, BrowsingKeysWalkTheTreeAndHistoryRestoresIt)
{
    search("java.util.List");
    ASSERT_NE(window->memberTree(), nullptr);
    const struct {
        Qt::Key key;
        std::pair<int, int> leaf;
    } steps[] = {
        {Qt::Key_Down, {0, 0}}, {Qt::Key_Down, {0, 1}}, {Qt::Key_Up, {0, 0}},
        {Qt::Key_Left, {-1, -1}},                      // the group closes and takes the selection
        {Qt::Key_Down, {0, 0}}, {Qt::Key_Up, {0, 0}},  // the first leaf has none before it
    };
    for (const auto& s : steps) {
        QTest::keyClick(window->classField(), s.key, Qt::ControlModifier);
        EXPECT_EQ(selectedLeaf(window), s.leaf) << s.key;
        EXPECT_TRUE(window->classField()->hasFocus());
    }
    QTest::keyClick(window->classField(), Qt::Key_Down, Qt::ControlModifier);
    search("java.lang.String");
    EXPECT_TRUE(window->goBack());
    EXPECT_EQ(window->classField()->text(), "java.util.List");
    EXPECT_EQ(selectedLeaf(window), std::make_pair(0, 1));
    EXPECT_FALSE(window->goBack());
    EXPECT_TRUE(window->goForward());
    EXPECT_EQ(window->classField()->text(), "java.lang.String");
    EXPECT_FALSE(window->goForward());
}

namespace {

platform::Member currentMember(const orvel_tree* window)
{
    return window->memberTree()->currentIndex().data(lookup::kMemberRole).value<platform::Member>();
}

// Triggers the action named `text` in the context menu that opens next.
void chooseInNextMenu(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (action->text() == text)
                action->trigger();
        menu->close();
    });
}

// The centre of the first link span whose text is `text`, in the pane's viewport.
std::optional<QPoint> linkPoint(QTextEdit* pane, const QString& text)
{
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor() && it.fragment().text() == text) {
                QTextCursor cursor(pane->document());
                cursor.setPosition(it.fragment().position() + 1);
                return pane->cursorRect(cursor).center();
            }
    return std::nullopt;
}

}  // namespace

TEST_F(CompletionWindowTest, LinkTargetsSelectTheirLeafAsPagesSpellThem)
{
    const struct {
        const char* target;
        const char* name;
        QStringList parameterTypes;
    } links[] = {
        {"java.util.Collection#add(E)", "add", {"java.lang.Object"}},  // a type variable
        {"java.util.Vector#<init>(int)", "Vector", {"int"}},
        {"java.util.Vector#toArray(Object[])", "toArray", {"java.lang.Object[]"}},
        {"java.util.Map$Entry#comparingByKey(Comparator)", "comparingByKey", {"java.util.Comparator"}},
        {"java.util.Vector#add(int,E)", "add", {"int", "java.lang.Object"}},
    };
    for (const auto& link : links) {
        const app::BrowseTarget target = app::parseBrowseTarget(link.target);
        window->openTarget(target.className, target.member);
        ASSERT_NE(window->memberTree(), nullptr) << link.target;
        const platform::Member selected = currentMember(window);
        EXPECT_EQ(selected.name, link.name) << link.target;
        EXPECT_EQ(selected.parameterTypes, link.parameterTypes) << link.target;
    }
    // A target not on the class path shows "Class not found", as typing it would.
    window->openTarget("com.example.Gone", std::nullopt);
    EXPECT_NE(window->findChild<app::LookupFailureView*>(), nullptr);
    EXPECT_TRUE(window->goBack());
    EXPECT_EQ(currentMember(window).parameterTypes, (QStringList {"int", "java.lang.Object"}));
}

TEST_F(CompletionWindowTest, AClickedLinkOpensItsClassBackReturnsAndTheMenusCopy)
{
    window->openTarget("java.util.Vector", app::MemberRef {"add", QStringList {"java.lang.Object"}});
    QTextEdit* pane = window->textPane();
    const QString vectorAdd = pane->toPlainText();
    std::optional<QPoint> collection;
    until([&] {  // the pane is laid out once the window is shown
        collection = linkPoint(pane, "Collection");
        return collection && !pane->anchorAt(*collection).isEmpty();
    });
    if (!collection)
        GTEST_SKIP() << "no documentation with links for Vector.add (openjdk-17-doc or -source missing)";

    chooseInNextMenu("Copy link target");
    emit pane->customContextMenuRequested(*collection);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("java.util.Collection"));

    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, *collection);
    EXPECT_EQ(window->classField()->text(), "java.util.Collection");
    EXPECT_TRUE(window->goBack());
    EXPECT_EQ(window->classField()->text(), "java.util.Vector");
    EXPECT_EQ(currentMember(window).name, "add");
    EXPECT_EQ(pane->toPlainText(), vectorAdd);

    const QRect leaf = window->memberTree()->visualRect(window->memberTree()->currentIndex());
    for (const auto& [action, copied] : {std::pair {"Copy signature", currentMember(window).printed},
             std::pair {"Copy qualified name", QStringLiteral("java.util.Vector.add")}}) {
        QApplication::clipboard()->clear();
        chooseInNextMenu(action);
        emit window->memberTree()->customContextMenuRequested(leaf.center());
        EXPECT_EQ(QApplication::clipboard()->text(), copied) << action;
    }
}
