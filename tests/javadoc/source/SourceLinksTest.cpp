// Names in a source resolved as the compiler resolves them, and link marks
// that leave the comment's lines as they were.

#include <gtest/gtest.h>

#include <QSet>

#include "javadoc/source/CommentRenderer.h"
#include "javadoc/source/JavaSourceScanner.h"
#include "javadoc/source/SourceLinks.h"

using namespace javadoc::source;

TEST(TypeResolver, NestedThenImportThenPackageThenOnDemandThenJavaLang)
{
    const SourceFile file = scanJavaSource(QString("package p; import q.List; import q.Box.Item; import static q.M.f; "
                                                   "import s.*; import t.*; import s.Holder.*; class Outer { }"));
    ASSERT_EQ(file.packageName, "p");
    TypeScope scope {file.packageName, file.typeImports, file.onDemandImports, {"p.Outer$Inner", "p.Outer"}};
    const QSet<QString> classes {"p.Outer", "p.Outer$Inner", "p.Outer$Nested", "p.Outer$Map", "r.Map", "q.List",
        "p.List", "q.Box", "q.Box$Item", "p.Set", "s.Set", "s.String", "java.lang.String", "java.lang.Object", "s.Dup",
        "t.Dup", "s.Holder", "s.Holder$Part", "java.util.Map", "java.util.Map$Entry"};
    const TypeResolver resolver(scope, [&](const QString& name) { return classes.contains(name); });
    const struct {
        const char *written, *binary;  // "" for no class
    } cases[] = {
        {"Nested", "p.Outer$Nested"},        // a member of the enclosing type
        {"Map", "p.Outer$Map"},              // the member type before the package's or an import's
        {"List", "q.List"},                  // the import before the package
        {"Item", "q.Box$Item"},              // an imported member type
        {"Set", "p.Set"},                    // the package before an on-demand import
        {"String", "s.String"},              // an on-demand import before java.lang
        {"Part", "s.Holder$Part"},           // on demand from a class
        {"Object", "java.lang.Object"},      //
        {"Dup", ""},                         // two on-demand imports offer it
        {"Nope", ""},                        //
        {"Outer.Nested", "p.Outer$Nested"},  //
        {"Outer.Gone", ""},                  //
        {"java.util.Map.Entry", "java.util.Map$Entry"}, {"r.Map", "r.Map"}, {"f", ""},  // a static import names no type
    };
    for (const auto& c : cases) EXPECT_EQ(resolver.resolve(QString(c.written)), c.binary) << c.written;
}

// The marked lines are the plain lines, each label's span on them; where the
// marks would change a line there are no links at all.
TEST(SourceLinks, MarkedLinesKeepTheTextAndFindTheLabels)
{
    const struct {
        const char* raw;
        const char* spans;  // "label=reference" in order, "|"-joined; "-" for no marked lines
    } cases[] = {
        {"See {@link List#add(int, Object) the add} and {@linkplain Map}.", "the add=List#add(int, Object)|Map=Map"},
        {"  {@link #size()}  \n second {@link Foo label\n over lines} end", "size()=#size()|label=Foo|over lines=Foo"},
        {"<b>{@link X}</b> &amp; {@code <a href=\"no\">T</a>}", "X=X"},
        {"{@link Y} then <a\n href=\"../X.html#y\">the\n x</a>, {@link Z}", "Y=Y|the=<../X.html#y|x=<../X.html#y|Z=Z"},
        {"<a href=\"{@link X}\">x</a>", "-"},  // the mark inside a tag is gone with it
    };
    for (const auto& c : cases) {
        QStringList refs;
        const QString markup = markAnchors(renderInlineTags(c.raw, {}, &refs), refs);
        const auto marked = markedLines(markup, refs.size());
        if (QString(c.spans) == "-") {
            EXPECT_FALSE(marked.has_value()) << c.raw;
            continue;
        }
        ASSERT_TRUE(marked.has_value()) << c.raw;
        QStringList lines, spans;
        for (const MarkedLine& line : *marked) {
            lines << line.text;
            for (const javadoc::DocLink& s : line.spans)
                spans << line.text.mid(s.start, s.length) + "=" + refs.at(s.target.toInt());
        }
        EXPECT_EQ(lines, markupLines(renderInlineTags(c.raw))) << c.raw;
        EXPECT_EQ(spans.join('|'), c.spans) << c.raw;
    }
}

// A reference's parts handed to the member lookup as javadoc reads them, and
// a signature type's class names found in it.
TEST(SourceLinks, ReferencesAndTypesBecomeTargets)
{
    const QSet<QString> classes {
        "p.Vector", "p.Vector$Item", "java.util.Map", "java.util.Map$Entry", "java.lang.Object", "java.lang.Math"};
    TypeScope scope {"p", {"java.util.Map"}, {}, {"p.Vector"}};
    const SourceLinks links(TypeResolver(scope, [&](const QString& name) { return classes.contains(name); }),
        "p.Vector", [](const QString& cls, const QString& name, const std::optional<QStringList>& types) {
            // Only methods named "m" exist; the answer shows what the lookup was asked.
            if (name != "m" && name != "<init>")
                return std::optional<QString>();
            return std::optional<QString>(cls + "#" + name + "(" + types.value_or(QStringList {"?"}).join(',') + ")");
        });
    const struct {
        const char *reference, *target;  // "" for no link
    } cases[] = {
        {"#m()", "p.Vector#m()"},
        {"Map.Entry#m(int, java.util.List<String>)", "java.util.Map$Entry#m(int,List)"},
        {"#m(long timeout, Object... rest)", "p.Vector#m(long,Object[])"},
        {"#m", "p.Vector#m(?)"},
        {"#Vector(int)", "p.Vector#<init>(int)"},
        {"Item", "p.Vector$Item"},
        {"Object#FIELD", "java.lang.Object#FIELD"},  // not a method: a field, unchecked
        {"Object#gone(int)", ""},
        {"Math.max(int, int)", ""},  // the old dotted member form names nothing
        {"Unknown#m()", ""},
        {"<../java/util/Map.Entry.html#m()", "java.util.Map$Entry#m()"},
        {"<http://example.org/", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(links.target(c.reference).value_or(QString()), c.target) << c.reference;

    QStringList found;
    const QString type = "Map.Entry<K, ? extends Item>[] m(T t)";
    for (const javadoc::DocLink& s : links.typeSpans(type, 10, {{"K", "p.Vector"}, {"T", ""}}))
        found << QString::number(s.start) + ":" + type.mid(s.start - 10, s.length) + "=" + s.target;
    EXPECT_EQ(found, QStringList({"10:Map.Entry=java.util.Map$Entry", "20:K=p.Vector", "33:Item=p.Vector$Item"}));
}
