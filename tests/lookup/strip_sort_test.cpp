#include <gtest/gtest.h>

#include <memory>

#include "lookup/SortVector.h"
#include "lookup/StripQualifiers.h"

using lookup::SortVector;
using lookup::StringCompare;
using lookup::StripQualifiers;

namespace {

TEST(StripQualifiers, ShortFormAndQualifier)
{
    struct Case {
        const char* sig;
        const char* shortForm;
        const char* qualifier;
    } cases[] = {
        {"public boolean java.lang.String.equals(java.lang.Object)", "public boolean equals(Object)", "java.lang.String"},
        {"public static java.lang.String java.lang.String.valueOf(char[],int,int)",
         "public static String valueOf(char[],int,int)", "java.lang.String"},
        {"public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
         "public final void wait(long) throws InterruptedException", "java.lang.Object"},
        {"public java.lang.String(byte[],int)", "public String(byte[],int)", "java.lang"},
        {"public abstract java.lang.Object java.util.Map$Entry.getKey()", "public abstract Object Map$getKey()",
         "java.util.Map$Entry"},
        {"public void p.Q.f(java.util.Map$Entry)", "public void f(Map$Entry)", "p.Q"},
        {"public void p.Outer$1.run()", "public void Outer$0run()", "p.Outer$1"},
        {"public void a.b_c.D.e()", "public void b_e()", "a.b_c.D"},
        {"public Foo()", "public Foo()", "Fo"},  // the character before "(" is dropped first
        {"public void noParens", "public void noParens", ""},
        {"(int)", "(int)", ""},                    // "(" at 0 gives no qualifier
        {"x(", "x(", ""},                          // no blank in the head
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripQualifiers::strip(QString::fromUtf8(c.sig)), QString::fromUtf8(c.shortForm)) << c.sig;
        EXPECT_EQ(StripQualifiers::getQualifier(), QString::fromUtf8(c.qualifier)) << c.sig;
    }
}

TEST(StripQualifiers, ConstructionEmptiesTheSharedQualifier)
{
    StripQualifiers::strip(QStringLiteral("public void a.B.c()"));
    ASSERT_EQ(StripQualifiers::getQualifier(), "a.B");
    StripQualifiers unused(QStringLiteral("public void x.Y.z()"));
    EXPECT_EQ(StripQualifiers::getQualifier(), "");
}

QStringList sorted(const QStringList& in)
{
    SortVector sv(std::make_shared<StringCompare>());
    for (const QString& s : in) sv.append(s);
    sv.sort();
    return QStringList(sv.begin(), sv.end());
}

TEST(SortVector, EqualKeysComeOutInTheProceduresOrder)
{
    struct Case {
        QStringList in, out;
    } cases[] = {
        {{"public void a.B.f(int)", "public void a.B.f(long)"}, {"public void a.B.f(long)", "public void a.B.f(int)"}},
        {{"f(1)", "f(2)", "f(3)"}, {"f(2)", "f(3)", "f(1)"}},
        {{"p.C.valueOf(int)", "p.C.equals(x)", "p.C.valueOf(char)", "p.C.charAt(int)", "p.C(int)", "p.C.valueOf(long)"},
         {"p.C(int)", "p.C.charAt(int)", "p.C.equals(x)", "p.C.valueOf(long)", "p.C.valueOf(char)",
          "p.C.valueOf(int)"}},
        {{}, {}},
        {{"x.y(z)"}, {"x.y(z)"}},
        // the key ignores modifiers, return type, declaring class and parameters
        {{"public static z.Z a.A.m(a.A)", "public a.A z.Z.b(z.Z)"}, {"public a.A z.Z.b(z.Z)", "public static z.Z a.A.m(a.A)"}},
        // upper case before lower case; a proper prefix first
        {{"a.B.ab()", "a.B.a()", "a.B.Z()"}, {"a.B.Z()", "a.B.a()", "a.B.ab()"}},
        // nested class constructor key keeps the "$"
        {{"public java.awt.geom.Point2D$Double()", "public void java.awt.geom.Point2D.a()"},
         {"public java.awt.geom.Point2D$Double()", "public void java.awt.geom.Point2D.a()"}},
    };
    for (const auto& c : cases) EXPECT_EQ(sorted(c.in), c.out) << c.in.join(' ').toStdString();
}

TEST(SortVector, AgreesWithAStableSortOnKeysForDistinctKeys)
{
    QStringList in;
    for (int i = 0; i < 300; ++i) in << QStringLiteral("p.C.m%1(int)").arg((i * 7919) % 300, 3, 10, QLatin1Char('0'));
    QStringList out = sorted(in);
    QStringList expect = in;
    std::sort(expect.begin(), expect.end());
    EXPECT_EQ(out, expect);
}

// The procedure transcribed as plainly as possible: left part first, loop on the right.
void referenceQuickSort(QStringList& v, qsizetype lo, qsizetype hi, const StringCompare& c)
{
    while (hi > lo) {
        const QString pivot = v[hi];
        qsizetype i = lo - 1, j = hi;
        for (;;) {
            while (c.lessThan(v[++i], pivot)) {
            }
            while (j > 0) {
                if (c.lessThanOE(v[--j], pivot)) break;
            }
            if (i >= j) break;
            v.swapItemsAt(i, j);
        }
        v.swapItemsAt(i, hi);
        referenceQuickSort(v, lo, i - 1, c);
        lo = i + 1;
    }
}

TEST(SortVector, SameOrderAsTheProcedureOnManyEqualKeys)
{
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 200; ++round) {
        QStringList in;
        const int size = int(next() % 60);
        for (int k = 0; k < size; ++k)  // few distinct keys, distinct texts
            in << QStringLiteral("p.C.m%1(%2)").arg(next() % 5).arg(k);
        QStringList expect = in;
        referenceQuickSort(expect, 0, expect.size() - 1, StringCompare());
        ASSERT_EQ(sorted(in), expect) << round;
    }
    QStringList ascending;  // deep left parts in the plain procedure
    for (int k = 0; k < 3000; ++k) ascending << QStringLiteral("p.C.m%1()").arg(k, 5, 10, QLatin1Char('0'));
    EXPECT_EQ(sorted(ascending), ascending);
}

TEST(StringCompare, KeysAndCodeUnitOrder)
{
    EXPECT_EQ(StringCompare::key(QStringLiteral("public boolean java.lang.String.equals(java.lang.Object)")), u"equals");
    EXPECT_EQ(StringCompare::key(QStringLiteral("public java.lang.String(byte[],int)")), u"String");
    EXPECT_EQ(StringCompare::key(QStringLiteral("public java.awt.geom.Point2D$Double()")), u"Point2D$Double");
    EXPECT_EQ(StringCompare::key(QStringLiteral("(x.y)")), u"");  // "(" first: nothing before it
    EXPECT_EQ(StringCompare::key(QStringLiteral("a.b.c")), u"c");  // no "(": never given, no crash
    // 16-bit code units, not code points: a surrogate (D83D) sorts below U+FFFD
    const QString high = QString::fromUtf16(u"a.\U0001F600()");
    const QString fffd = QString::fromUtf16(u"a.\uFFFD()");
    StringCompare c;
    EXPECT_TRUE(c.lessThan(high, fffd));
    EXPECT_FALSE(c.lessThan(fffd, fffd));
    EXPECT_TRUE(c.lessThanOE(fffd, fffd));
}

}  // namespace
