#include <gtest/gtest.h>

#include <memory>

#include "lookup/SortVector.h"
#include "lookup/StripQualifiers.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TokenData.h"

using lookup::SortVector;
using lookup::StringCompare;
using lookup::StripQualifiers;

namespace {

TEST(StripQualifiers, ShortFormAndQualifier)
{
    // (the plain forms are in the member tree's worked examples)
    const char* cases[][3] = {
        {"public abstract java.lang.Object java.util.Map$Entry.getKey()", "public abstract Object Map$getKey()",
            "java.util.Map$Entry"},
        {"public void p.Q.f(java.util.Map$Entry)", "public void f(Map$Entry)", "p.Q"},
        {"public void p.Outer$1.run()", "public void Outer$0run()", "p.Outer$1"},
        {"public void a.b_c.D.e()", "public void b_e()", "a.b_c.D"},
        {"public Foo()", "public Foo()", "Fo"},  // the character before "(" is dropped first
        {"public void noParens", "public void noParens", ""},
        {"(int)", "(int)", ""},
        {"x(", "x(", ""},
        {"", "", ""},
    };
    for (const auto& [sig, shortForm, qualifier] : cases) {
        EXPECT_EQ(StripQualifiers::strip(QString::fromUtf8(sig)), QString::fromUtf8(shortForm)) << sig;
        EXPECT_EQ(StripQualifiers::getQualifier(), QString::fromUtf8(qualifier)) << sig;
    }
    StripQualifiers unused(QStringLiteral("public void x.Y.z()"));  // construction empties the qualifier
    EXPECT_EQ(StripQualifiers::getQualifier(), "");
}

TEST(StripQualifiers, AgreesWithJavaOnGeneratedTexts)
{
    const auto cases = test_support::tokenCases();
    EXPECT_EQ(cases.size(), 500u);
    for (const auto& c : cases) {
        EXPECT_EQ(StripQualifiers::strip(c.text), c.stripped) << c.hex.toStdString();
        EXPECT_EQ(StripQualifiers::getQualifier(), c.qualifier) << c.hex.toStdString();
    }
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
    const QString fffd = QString::fromUtf16(u"a.\uFFFD()"), smiley = QString::fromUtf16(u"a.\U0001F600()");
    const std::pair<QStringList, QStringList> cases[] = {
        {{"f(1)", "f(2)", "f(3)"}, {"f(2)", "f(3)", "f(1)"}},
        {{"p.C.valueOf(int)", "p.C.equals(x)", "p.C.valueOf(char)", "p.C.charAt(int)", "p.C(int)", "p.C.valueOf(long)"},
            {"p.C(int)", "p.C.charAt(int)", "p.C.equals(x)", "p.C.valueOf(long)", "p.C.valueOf(char)",
                "p.C.valueOf(int)"}},
        // the key ignores modifiers, return type, declaring class and parameters
        {{"public static z.Z a.A.m(a.A)", "public a.A z.Z.b(z.Z)"},
            {"public a.A z.Z.b(z.Z)", "public static z.Z a.A.m(a.A)"}},
        // upper case before lower case; a proper prefix first
        {{"a.B.ab()", "a.B.a()", "a.B.Z()"}, {"a.B.Z()", "a.B.a()", "a.B.ab()"}},
        // nested class constructor key keeps the "$"
        {{"public p.P$D()", "public void p.P.E()"}, {"public void p.P.E()", "public p.P$D()"}},
        // 16-bit code units, not code points: a surrogate (D83D) sorts below U+FFFD
        {{fffd, smiley}, {smiley, fffd}},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(sorted(in), out) << in.join(' ').toStdString();
}

TEST(SortVector, ThousandsOfAscendingKeysDoNotRecurseDeeply)
{
    // (equal keys against the procedure's own order: the member tree's JTree reference)
    QStringList ascending;
    for (int k = 0; k < 3000; ++k) ascending << QStringLiteral("p.C.m%1()").arg(k, 5, 10, QLatin1Char('0'));
    EXPECT_EQ(sorted(ascending), ascending);
}

}  // namespace
