// The tree widget drawn offscreen: selection marking, fonts, the second column,
// handle images, and the selection signal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <map>

#include "lookup/MemberTree.h"
#include "lookup/widgets/CellPainter2.h"
#include "lookup/widgets/MemberTreeView.h"

using lookup::CellPainter2;
using lookup::MemberTreeView;

namespace {

const QColor kBand(240, 240, 255);
const QColor kSelectedBand(210, 200, 250);

class TreeViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char arg0[] = "test";
        static char* argv[] = {arg0, nullptr};
        if (!qApp) new QApplication(argc, argv);
    }
    void SetUp() override
    {
        saved_ = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(JO_SOURCE_DIR "/assets"));  // the three GIFs
    }
    void TearDown() override { QDir::setCurrent(saved_); }

    static lookup::MemberNode objectTree()
    {
        QStringList classes;
        return lookup::buildMemberTree({"public java.lang.Object()",
                                        "public boolean java.lang.Object.equals(java.lang.Object)",
                                        "public java.lang.String java.lang.Object.toString()",
                                        "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException"},
                                       "", "java.lang.Object", classes);
    }

    // The most frequent colour in a rectangle of the image.
    static QColor mostCommon(const QImage& img, const QRect& r)
    {
        std::map<QRgb, int> count;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) ++count[img.pixel(x, y) & 0xFFFFFF];
        auto best = count.begin();
        for (auto it = count.begin(); it != count.end(); ++it)
            if (it->second > best->second) best = it;
        return QColor(best->first);
    }

    QString saved_;
};

TEST_F(TreeViewTest, NewTreeShowsRootOpenAndGroupsClosed)
{
    MemberTreeView view(objectTree());
    const QAbstractItemModel* m = view.model();
    ASSERT_EQ(m->rowCount(), 1);
    const QModelIndex root = m->index(0, 0);
    EXPECT_EQ(root.data().toString(), "Methods");
    EXPECT_TRUE(view.isExpanded(root));
    ASSERT_EQ(m->rowCount(root), 2);
    EXPECT_EQ(m->index(0, 0, root).data().toString(), "constructors");
    EXPECT_FALSE(view.isExpanded(m->index(0, 0, root)));
    EXPECT_FALSE(view.isExpanded(m->index(1, 0, root)));
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(view.font().family(), "System");
    EXPECT_EQ(view.font().pixelSize(), 12);
    EXPECT_EQ(view.getSelectionCount(), 0);
}

TEST_F(TreeViewTest, SelectionReportsNewPathThenTheDeselectedOne)
{
    MemberTreeView view(objectTree());
    QList<QStringList> spy;
    QObject::connect(&view, &MemberTreeView::valueChanged, [&](const QStringList& p) { spy.append(p); });
    const QModelIndex group = view.model()->index(1, 0, view.model()->index(0, 0));
    const QModelIndex equals = view.model()->index(0, 0, group);
    view.setCurrentIndex(equals);
    ASSERT_EQ(spy.size(), 1);
    const QStringList path = spy.at(0);
    ASSERT_EQ(path.size(), 3);
    EXPECT_EQ(path[0], "Methods");
    EXPECT_EQ(path[1], "java.lang.Object         ");
    EXPECT_TRUE(path[2].startsWith("equals"));
    EXPECT_EQ(view.getSelectionCount(), 1);

    view.setCurrentIndex(group);  // one event, reporting the new node
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(1).size(), 2);
    EXPECT_EQ(view.getSelectionCount(), 1);

    view.clearSelection();  // nothing new selected: the node just left is reported
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy.at(2), spy.at(1));
    EXPECT_EQ(view.getSelectionCount(), 0);
}

TEST_F(TreeViewTest, ClosingAGroupMovesTheSelectionToIt)
{
    MemberTreeView view(objectTree());
    const QModelIndex group = view.model()->index(1, 0, view.model()->index(0, 0));
    view.expand(group);
    view.setCurrentIndex(view.model()->index(2, 0, group));
    QList<QStringList> spy;
    QObject::connect(&view, &MemberTreeView::valueChanged, [&](const QStringList& p) { spy.append(p); });
    view.collapse(group);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).size(), 3);  // the member, deselected
    EXPECT_TRUE(spy.at(0).at(2).startsWith("wait"));
    EXPECT_EQ(spy.at(1).size(), 2);  // then the group, selected
    EXPECT_TRUE(view.selectionModel()->isSelected(group));
    EXPECT_EQ(view.getSelectionCount(), 1);

    view.collapse(view.model()->index(0, 0));  // the root: the group goes too
    EXPECT_EQ(spy.size(), 4);
    EXPECT_EQ(spy.at(3), QStringList{"Methods"});
}

TEST_F(TreeViewTest, SelectedLeafBandDiffersFromOtherRows)
{
    MemberTreeView view(objectTree());
    view.resize(500, 300);
    view.show();
    const QModelIndex root = view.model()->index(0, 0);
    const QModelIndex group = view.model()->index(1, 0, root);
    view.expand(group);
    const QModelIndex selectedLeaf = view.model()->index(0, 0, group);
    const QModelIndex otherLeaf = view.model()->index(1, 0, group);
    view.setCurrentIndex(selectedLeaf);
    QApplication::processEvents();

    const QImage img = view.viewport()->grab().toImage();
    const int x0 = 13 + CellPainter2::kIconTextGap;  // pf.gif is 13 pixels wide
    auto band = [&](const QModelIndex& i) {
        const QRect r = view.visualRect(i);
        return mostCommon(img, QRect(r.left() + x0, r.top(), 300, r.height()).intersected(img.rect()));
    };
    EXPECT_EQ(band(selectedLeaf), kSelectedBand);
    EXPECT_EQ(band(otherLeaf), kBand);
    EXPECT_EQ(band(group), kBand);

    // A selected group keeps the plain band.
    view.setCurrentIndex(group);
    QApplication::processEvents();
    const QImage img2 = view.viewport()->grab().toImage();
    const QRect gr = view.visualRect(group);
    EXPECT_EQ(mostCommon(img2, QRect(gr.left() + x0, gr.top(), 200, gr.height()).intersected(img2.rect())), kBand);

    // The row icon sits at the start of every row.
    const QRect lr = view.visualRect(otherLeaf);
    EXPECT_NE(mostCommon(img, QRect(lr.left(), lr.top(), 13, qMin(12, lr.height()))), kBand);
}

TEST_F(TreeViewTest, HandlesComeFromTheImages)
{
    MemberTreeView view(objectTree());
    view.resize(500, 300);
    view.show();
    const QModelIndex root = view.model()->index(0, 0);
    const QModelIndex closed = view.model()->index(0, 0, root);
    const QModelIndex open = view.model()->index(1, 0, root);
    view.expand(open);
    QApplication::processEvents();
    const QImage img = view.viewport()->grab().toImage();
    const QImage dot(QStringLiteral("bluedot.gif"));
    const QImage ring(QStringLiteral("bluedot2.gif"));
    ASSERT_FALSE(dot.isNull());
    auto centre = [&](const QModelIndex& i) {
        const QRect r = view.visualRect(i);
        return QColor(img.pixel(r.left() - view.indentation() / 2, r.center().y()));
    };
    EXPECT_EQ(centre(closed), dot.pixelColor(dot.width() / 2, dot.height() / 2).toRgb());
    const QColor ringCentre = ring.pixelColor(ring.width() / 2, ring.height() / 2);
    EXPECT_EQ(centre(open), ringCentre.alpha() == 0 ? kBand : ringCentre.toRgb());
}

// Paints one configured row into an image.
QImage paintRow(CellPainter2& cp, const QString& text, bool leaf, bool selected = false)
{
    cp.getTreeCellRendererComponent(nullptr, text, selected, false, leaf, 0, false);
    const QSize size(600, cp.getPreferredSize().height());
    cp.setSize(size);
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    cp.paint(&p);
    return img;
}

int ink(const QImage& img, int fromX, int toX)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = fromX; x < toX; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 150) ++n;  // text is blue or black on a light band
        }
    return n;
}

TEST_F(TreeViewTest, GroupsBoldLeavesPlain)
{
    CellPainter2 cp(nullptr);
    const QImage asGroup = paintRow(cp, "java.lang.Object         ", false);
    EXPECT_TRUE(cp.paintFont().bold());
    const QImage asLeaf = paintRow(cp, "java.lang.Object         ", true);
    EXPECT_FALSE(cp.paintFont().bold());
    EXPECT_EQ(cp.paintFont().pixelSize(), 12);
    const int x0 = cp.textStart();
    EXPECT_GT(ink(asGroup, x0, 600), ink(asLeaf, x0, 600));
    // Colours: blue on the plain band unless a selected leaf.
    paintRow(cp, "x", false, true);
    EXPECT_EQ(cp.getForeground(), QColor(0, 0, 255));
    EXPECT_EQ(cp.getBackground(), kBand);
    paintRow(cp, "x", true, true);
    EXPECT_EQ(cp.getForeground(), QColor(0, 0, 0));
    EXPECT_EQ(cp.getBackground(), kSelectedBand);
}

TEST_F(TreeViewTest, SecondColumnStartsAt110OrAfterAWideName)
{
    CellPainter2 cp(nullptr);
    const QString pad(12, QLatin1Char(' '));
    const QImage row = paintRow(cp, "equals" + pad + "  boolean equals(Object)         ", true);
    const int x0 = cp.textStart();
    const QFontMetrics fm(cp.paintFont());
    ASSERT_LE(fm.horizontalAdvance("equals20"), CellPainter2::kSecondColumn);
    // Nothing between the name and the column; ink right at it.
    EXPECT_EQ(ink(row, x0 + fm.horizontalAdvance("equals") + 2, x0 + CellPainter2::kSecondColumn), 0);
    EXPECT_GT(ink(row, x0 + CellPainter2::kSecondColumn, x0 + CellPainter2::kSecondColumn + 6), 0);

    const QString wide = "addHierarchyBoundsListener";
    const QImage row2 = paintRow(cp, wide + "  void addHierarchyBoundsListener(HierarchyBoundsListener)         ", true);
    const int w = fm.horizontalAdvance(wide + "20");
    ASSERT_GT(w, CellPainter2::kSecondColumn);
    EXPECT_EQ(ink(row2, x0 + fm.horizontalAdvance(wide) + 2, x0 + w), 0);
    EXPECT_GT(ink(row2, x0 + w, x0 + w + 6), 0);

    // No inner blank: one column only.
    const QImage one = paintRow(cp, "constructors", false);
    const QFontMetrics bfm(cp.paintFont());
    EXPECT_EQ(ink(one, x0 + bfm.horizontalAdvance("constructors") + 2, 600), 0);
}

TEST_F(TreeViewTest, MissingImagesDrawWithoutThem)
{
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    MemberTreeView view(objectTree());
    view.resize(400, 200);
    view.show();
    view.expandAll();
    view.setCurrentIndex(view.model()->index(0, 0, view.model()->index(1, 0, view.model()->index(0, 0))));
    const QImage img = view.viewport()->grab().toImage();
    EXPECT_FALSE(img.isNull());
    EXPECT_EQ(view.cellPainter()->textStart(), CellPainter2::kIconTextGap);
}

TEST_F(TreeViewTest, ManyGroupsAndAnEmptyTree)
{
    QStringList n, classes;
    for (int i = 0; i < 60; ++i) n << QStringLiteral("public void p.C%1.m()").arg(i);
    MemberTreeView big(lookup::buildMemberTree(n, "", "p.C0", classes));
    EXPECT_EQ(big.model()->rowCount(big.model()->index(0, 0)), 60);
    MemberTreeView none(lookup::buildMemberTree(n, "absent", "p.C0", classes));
    EXPECT_EQ(none.model()->rowCount(none.model()->index(0, 0)), 0);
    none.resize(300, 100);
    none.show();
    EXPECT_FALSE(none.viewport()->grab().toImage().isNull());
}

}  // namespace
