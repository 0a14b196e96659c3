// The Java source scanner and the comment renderer, case by case.

#include <gtest/gtest.h>

#include "javadoc/source/CommentRenderer.h"
#include "javadoc/source/JavaSourceScanner.h"
#include "tests/support/PageFiles.h"

using namespace javadoc::source;

namespace {

// "name(type name, ...)=doc" for every method and constructor of the first type, "|"-joined.
QString members(const QString& source)
{
    const SourceFile file = scanJavaSource(translateUnicodeEscapes(source));
    if (file.types.empty())
        return "<no type>";
    QStringList out;
    for (const SourceMember& m : file.types.front().members) {
        if (m.kind == SourceMember::Kind::Field)
            continue;
        QStringList params;
        for (const SourceParam& p : m.params) params << p.type + " " + p.name;
        out << m.name + "(" + params.join(", ") + ")=" + m.doc.trimmed();
    }
    return out.join(" | ");
}

}  // namespace

TEST(JavaSourceScanner, FindsMembersPastEveryKindOfText)
{
    const struct {
        const char* what;
        const char* body;  // placed between "class A {" and the documented member g
    } cases[] = {
        {"string with braces and a comment opener", R"(String s = "} /** no */ {";)"},
        {"escaped quote in a string", R"(String s = "\"}"; )"},
        {"char literals", R"(char a = '}', b = '\'', c = '"';)"},
        {"text block", "String t = \"\"\"\n  } \\\"\"\" \" /** no */\n  \"\"\";"},
        {"line comment", "// } {\n"},
        {"block comment", "/* } /** */"},
        {"unicode brace closes the body", R"(void f() { \u007d)"},
        {"escaped backslash is no escape", R"(String s = "\\u0022"; )"},
        {"annotation arguments", R"~(@SuppressWarnings({"a", "}"}) @X(v = @Y(")")))~"},
        {"initializer and anonymous class", "static { int x; } Runnable r = new Runnable() { public void g() { } };"},
        {"local class", "void f() { class L { /** local */ public void g() { } } }"},
        {"nested type", "static class N { /** nested */ public void g() { } }"},
        {"generic field", "java.util.Map<String, java.util.List<int[]>> m = new java.util.HashMap<>();"},
    };
    for (const auto& c : cases) {
        const QString source = QString("class A { ") + c.body + " /** doc */ public void g() { } }";
        EXPECT_TRUE(members(source).endsWith("g()=doc")) << c.what << ": " << members(source).toStdString();
    }
}

TEST(JavaSourceScanner, ReadsDeclarations)
{
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"class A { public <T extends Comparable<? super T>> java.util.Map<String, java.util.List<T>> "
         "m(java.util.Map.Entry<K, V>[] e, final T... ts) throws java.io.IOException { } }",
            "m(Map.Entry<K,V>[] e, T... ts)="},
        {"enum E { A(1) { void g() { } }, B; /** c */ E(int i) { } E() { } /** v */ public static E of(int i) { "
         "return A; } }",
            "E(int i)=c | E()= | of(int i)=v"},
        {"/** r */ public record R(@Deprecated int x, String... ys) { /** compact */ public R { } /** m */ "
         "public int m() { return x; } }",
            "R(int x, String... ys)=compact | m()=m"},
        {"@interface An { /** v */ String value() default \"}\"; int n(); }", "value()=v | n()="},
        {"class G<E> { /** ann */ public @Ann(\"x\") E get(@Nullable Object o, int @Ann [] a) { return null; } }",
            "get(Object o, int[] a)=ann"},
    };
    for (const auto& c : cases) EXPECT_EQ(members(c.source), c.expected) << c.source;
    // What overload choice erases with: nested types imported by their own name, a nested type's variables.
    const SourceFile file = scanJavaSource(QString("import java.util.Map.Entry; class A { static class N<T> { } }"));
    EXPECT_EQ(file.nestedImports.value("Entry"), "Map.Entry");
    EXPECT_EQ(file.types.at(0).nested.at(0).typeParameters, "<T>");
}

TEST(JavaSourceScanner, BrokenSourcesKeepWhatCameBefore)
{
    const QString before = "class A { /** a */ public void a() { } ";
    for (const char* tail : {"/* unterminated", "String s = \"unterminated", "String t = \"\"\"\n never ends",
             "void b() { { {", "char c = '", "\\u", "\\u12", "<<<<<<<<", "@", "class", "enum E { A(", "}}}}"}) {
        const QString m = members(before + tail);
        EXPECT_TRUE(m.startsWith("a()=a")) << tail << ": " << m.toStdString();
    }
    QString deep;
    for (int i = 0; i < 5000; ++i) deep += "class C" + QString::number(i) + " { ";
    EXPECT_EQ(scanJavaSource(deep).types.size(), 1u);
}

// Fields matter only as {@value} constants: one literal as the initializer.
// A file of millions of them keeps the members around them.
TEST(JavaSourceScanner, KeepsConstantFieldsOnly)
{
    const QString list = "int a" + QString(",a").repeated(1 << 20) + ";";
    const struct {
        QString body, constants;
    } cases[] = {
        {"int a, b = 1, c[] = {2}, d = -3; static final String S = \"s\", T = t(), U = \"u\" + 1;", "b=1 d=-3 S=\"s\""},
        {list, ""},
        {QString("int a;").repeated(1 << 18), ""},
    };
    for (const auto& c : cases) {
        const SourceFile file = scanJavaSource("class A { " + c.body + " /** m */ void m() { } }");
        ASSERT_EQ(file.types.size(), 1u);
        QStringList constants, methods;
        for (const SourceMember& m : file.types[0].members)
            (m.kind == SourceMember::Kind::Field ? constants : methods) << m.name + "=" + m.initializer;
        EXPECT_EQ(constants.join(' '), c.constants) << c.body.left(40).toStdString();
        EXPECT_EQ(methods, QStringList {"m="});
    }
}

TEST(JavaSourceScanner, TranslatesUnicodeEscapes)
{
    EXPECT_EQ(translateUnicodeEscapes(uR"(\u0041\uuu0042)"), "AB");
    EXPECT_EQ(translateUnicodeEscapes(uR"(\\u0041)"), uR"(\\u0041)");
    EXPECT_EQ(translateUnicodeEscapes(uR"(\\\u0041)"), uR"(\\A)");
    EXPECT_EQ(translateUnicodeEscapes(uR"(\u005c\u0041)"), uR"(\A)");  // an escaped "\" starts no escape
    EXPECT_EQ(translateUnicodeEscapes(uR"(\u00G1 \u)"), uR"(\u00G1 \u)");
}

TEST(JavaSourceScanner, ErasesTypesForOverloadChoice)
{
    const auto vars = typeVariablesOf("<T extends Comparable<? super T>, E, N extends Number & Runnable>");
    const struct {
        const char *type, *erased;
    } cases[] = {{"E", "Object"}, {"T", "Comparable"}, {"N", "Number"}, {"T...", "Comparable[]"},
        {"List<? extends E>[]", "List[]"}, {"Map.Entry<K,V>", "Entry"}, {"int[][]", "int[][]"}, {"E...", "Object[]"}};
    for (const auto& c : cases) EXPECT_EQ(eraseType(c.type, vars), c.erased) << c.type;
}

TEST(CommentRenderer, SplitsDescriptionAndBlockTags)
{
    const CommentParts parts = splitComment(
        "\n * First {@code a\n * @b} line.\n * <pre>\n * @notATag\n * </pre>\n *\n * @param x the x\n *     "
        "continued\n * @return r\n");
    EXPECT_EQ(parts.description.trimmed(), "First {@code a\n @b} line.\n <pre>\n @notATag\n </pre>");
    ASSERT_EQ(parts.tags.size(), 2u);
    EXPECT_EQ(parts.tags[0].name, "param");
    EXPECT_EQ(parts.tags[0].text.trimmed(), "x the x\n     continued");
    EXPECT_EQ(parts.find("param", "x"), &parts.tags[0]);
    EXPECT_EQ(parts.find("param", "y"), nullptr);
}

TEST(CommentRenderer, InlineTagsAndMarkupAsThePageShowsThem)
{
    const ValueLookup value = [](const QString& ref) { return ref == "#MAX" ? QString("10") : QString(); };
    const struct {
        const char *raw, *lines;
    } cases[] = {
        {"{@code List<T> a && b}", "List<T> a && b"},
        {"{@literal <p>} and <b>bold</b>", "<p> and bold"},
        {"{@link java.util.List#add(Object) add it} {@link #size()} {@linkplain Map.Entry}", "add it size() Map.Entry"},
        {"{@link #wait(long, int)} {@link java.util.List}", "wait(long, int) List"},
        {"max {@value #MAX}, {@docRoot}x {@index \"two words\" d} {@code {nested}}", "max 10, x two words {nested}"},
        {"a<p>\n\n  b &lt;c&gt; &amp; &#65;&#x42; &mdash;", "a|b <c> & AB \u2014"},
        {"<a\nhref=\"x\">link</a> 1 < 2", "link 1 < 2"},
        {"{@code unterminated", "{@code unterminated"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markupLines(renderInlineTags(c.raw, value)).join('|'), QString::fromUtf8(c.lines)) << c.raw;
    EXPECT_EQ(referenceLabel("java.util.Map.Entry#getKey()"), "Map.Entry.getKey()");
}
