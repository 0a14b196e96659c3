// The tree widget drawn offscreen: the selection band, bold groups, the second
// column, and the selection signal.
#include <gtest/gtest.h>

#include <QDir>
#include <QApplication>
#include <QPainter>
#include <map>

#include "lookup/MemberTree.h"
#include "lookup/widgets/CellPainter2.h"
#include "lookup/widgets/MemberTreeView.h"
#include "lookup/widgets/PaneColour.h"
#include "tests/support/QtApp.h"

using namespace lookup;

namespace {

class TreeViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test_support::ensureApplication<QApplication>();
        QDir::setCurrent(QStringLiteral(JO_SOURCE_DIR "/assets"));  // the three GIFs
    }
    void SetUp() override
    {
        QStringList classes;
        view = std::make_unique<MemberTreeView>(
            buildMemberTree({"public java.lang.Object()", "public boolean java.lang.Object.equals(java.lang.Object)",
                                "public java.lang.String java.lang.Object.toString()",
                                "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException"},
                "", "java.lang.Object", classes));
        root = view->model()->index(0, 0);
        group = view->model()->index(1, 0, root);  // "java.lang.Object": equals, toString, wait
    }
    std::unique_ptr<MemberTreeView> view;
    QModelIndex root, group;
};

TEST_F(TreeViewTest, SelectionSignalReportsTheNewPathOrTheOneLeft)
{
    EXPECT_TRUE(view->isExpanded(root));
    EXPECT_FALSE(view->isExpanded(group));
    QList<QStringList> spy;
    QObject::connect(view.get(), &MemberTreeView::valueChanged, [&](const QStringList& p) { spy.append(p); });
    view->setCurrentIndex(view->model()->index(0, 0, group));
    view->setCurrentIndex(group);  // one event, reporting the new node
    view->clearSelection();        // nothing new selected: the node just left is reported
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy[0].mid(0, 2), (QStringList {"Methods", "java.lang.Object         "}));
    EXPECT_TRUE(spy[0].value(2).startsWith("equals"));
    EXPECT_EQ(spy[1], spy[0].mid(0, 2));
    EXPECT_EQ(spy[2], spy[1]);
    EXPECT_EQ(view->getSelectionCount(), 0);

    view->expand(group);  // closing a group moves the selection from its member to it
    view->setCurrentIndex(view->model()->index(2, 0, group));
    spy.clear();
    view->collapse(group);
    view->collapse(root);  // the root: the group goes too
    ASSERT_EQ(spy.size(), 4);
    EXPECT_TRUE(spy[0].value(2).startsWith("wait"));  // the member, deselected
    EXPECT_EQ(spy[1], spy[0].mid(0, 2));              // then the group, selected
    EXPECT_EQ(spy[3], QStringList {"Methods"});
}

TEST_F(TreeViewTest, OnlyASelectedLeafGetsTheSelectedBand)
{
    view->resize(500, 300);
    view->show();
    view->expand(group);
    const QModelIndex leaf = view->model()->index(0, 0, group), other = view->model()->index(1, 0, group);
    auto band = [&](const QModelIndex& i) {  // the most frequent colour right of the icon
        QApplication::processEvents();
        const QImage img = view->viewport()->grab().toImage();
        const QRect r = view->visualRect(i);
        std::map<QRgb, int> count;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left() + 13 + CellPainter2::kIconTextGap; x < qMin(r.left() + 300, img.width()); ++x)
                ++count[img.pixel(x, y) & 0xFFFFFF];
        auto fewer = [](const auto& a, const auto& b) { return a.second < b.second; };
        return QColor(std::max_element(count.begin(), count.end(), fewer)->first);
    };
    const QColor plain = kPaneBackground;
    view->setCurrentIndex(leaf);
    EXPECT_EQ(band(leaf), QColor(210, 200, 250));
    EXPECT_EQ(band(other), plain);
    view->setCurrentIndex(group);  // a selected group keeps the plain band
    EXPECT_EQ(band(group), plain);
}

// Paints one row into an image and counts the dark pixels between two x positions.
int ink(CellPainter2& cp, const QString& text, bool leaf, int fromX, int toX)
{
    cp.getTreeCellRendererComponent(nullptr, text, false, false, leaf, 0, false);
    QImage img(600, cp.getPreferredSize().height(), QImage::Format_RGB32);
    cp.setSize(img.size());
    img.fill(Qt::white);
    QPainter p(&img);
    cp.paint(&p);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = fromX; x < toX; ++x) n += img.pixelColor(x, y).red() < 150;  // blue or black text
    return n;
}

TEST_F(TreeViewTest, GroupsBoldAndTheSecondColumnAt110OrAfterAWideName)
{
    CellPainter2 cp(nullptr);
    const QString groupText = "java.lang.Object         ";
    EXPECT_GT(ink(cp, groupText, false, cp.textStart(), 600), ink(cp, groupText, true, cp.textStart(), 600));
    ink(cp, "x", true, 0, 0);
    const int x0 = cp.textStart();
    const QFontMetrics fm(cp.paintFont());
    ASSERT_GT(fm.horizontalAdvance("addHierarchyBoundsListener20"), CellPainter2::kSecondColumn);
    for (const QString name : {"equals", "addHierarchyBoundsListener"}) {
        const QString row = name.leftJustified(18, QLatin1Char(' ')) + "  void " + name + "(Object)         ";
        const int col = x0 + qMax(int(CellPainter2::kSecondColumn), fm.horizontalAdvance(name + "20"));
        EXPECT_EQ(ink(cp, row, true, x0 + fm.horizontalAdvance(name) + 2, col), 0) << name.toStdString();
        EXPECT_GT(ink(cp, row, true, col, col + 6), 0) << name.toStdString();
    }
}

}  // namespace

// A leaf holds its member under kMemberRole, and selecting it reports the member
// beside the texts; a group reports none.
TEST(TreeViewMembers, SelectionCarriesTheLeafsMember)
{
    test_support::ensureApplication<QApplication>();
    const platform::Member equals {"java.lang.Object", platform::MemberKind::Method, "equals", {"java.lang.Object"},
        "public boolean java.lang.Object.equals(java.lang.Object)"};
    QStringList classes;
    MemberTreeView view(buildMemberTree(std::vector<platform::Member> {equals}, "", "java.lang.Object", classes));
    const QModelIndex group = view.model()->index(0, 0, view.model()->index(0, 0));
    const QModelIndex leaf = view.model()->index(0, 0, group);
    EXPECT_EQ(leaf.data(kMemberRole).value<platform::Member>(), equals);
    std::vector<std::optional<platform::Member>> reported;
    QObject::connect(&view, &MemberTreeView::valueChanged,
        [&](const QStringList&, const std::optional<platform::Member>& m) { reported.push_back(m); });
    view.setCurrentIndex(leaf);
    view.setCurrentIndex(group);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], equals);
    EXPECT_FALSE(reported[1].has_value());
}
