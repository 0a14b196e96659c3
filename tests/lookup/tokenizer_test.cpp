// The tokenizer and Double.toString against what the JDK gives; the data file
// was written by java.io.StreamTokenizer itself (default syntax, blank made
// ordinary) over generated texts full of odd characters.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <cmath>
#include <limits>

#include "lookup/StripQualifiers.h"
#include "platform/StreamTokenizer.h"

using platform::StreamTokenizer;

namespace {

QStringList tokensOf(const QString& s)
{
    lookup::StripQualifiers sq(s);
    QStringList out;
    while (auto t = sq.getNext()) out << *t;
    return out;
}

QString unhex(QStringView h)
{
    QString s;
    for (qsizetype i = 0; i + 4 <= h.size(); i += 4) s += QChar(char16_t(h.mid(i, 4).toUInt(nullptr, 16)));
    return s;
}

TEST(StreamTokenizer, OddInputs)
{
    struct Case {
        QString in;
        QStringList tokens;
    } cases[] = {
        {"java.lang.String", {"java.lang.String"}},
        {"Graphics2D-x.y", {"Graphics2D-x.y"}},  // digits, "-" and "." run on inside a word
        {"Outer$1", {"Outer", "$", "1.0"}},
        {"a_b", {"a", "_", "b"}},
        {".", {"0.0"}},                             // a lone dot is the number 0
        {"-", {"-"}},                               // "-" without digit or dot is ordinary
        {"-x", {"-", "x"}},
        {"-.", {"-0.0"}},
        {"-0", {"-0.0"}},
        {"1.2.3", {"1.2", "0.3"}},                   // the second dot starts a new number
        {"007", {"7.0"}},
        {"12345678", {"1.2345678E7"}},
        {"1e5", {"1.0", "e5"}},
        {"a/b c\nd", {"a", "d"}},                  // "/" comments out the rest of the line
        {"a\"b c\"d", {"a", "\"", "d"}},           // quoted text is dropped, the quote kept
        {"'x", {"'"}},                              // an unclosed quote runs to the end
        {"'a\nb", {"'", "b"}},                     // ... or to the line end
        {"'\\'' z", {"'", " ", "z"}},                // an escaped quote does not close
        {"\t\x01(\x1f)", {"(", ")"}},               // control characters are white space
        {"a b", {"a", " ", "b"}},                  // the blank is a token of its own
        {QString::fromUtf8("\u00e9t\u00e9 \u4e2d\u6587"), {QString::fromUtf8("\u00e9t\u00e9"), " ", QString::fromUtf8("\u4e2d\u6587")}},
        {QString::fromUtf8("\u0085a"), {QString::fromUtf8("\u0085"), "a"}},  // U+0080-U+009F are ordinary
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(tokensOf(c.in), c.tokens) << c.in.toStdString();
}

TEST(StreamTokenizer, EndOfTextRepeats)
{
    StreamTokenizer st(QStringLiteral("ab"));
    EXPECT_EQ(st.nextToken(), StreamTokenizer::TT_WORD);
    EXPECT_EQ(st.nextToken(), StreamTokenizer::TT_EOF);
    EXPECT_EQ(st.nextToken(), StreamTokenizer::TT_EOF);
}

TEST(StreamTokenizer, DefaultSyntaxKeepsBlankAsWhiteSpace)
{
    StreamTokenizer st(QStringLiteral("a b"));
    st.nextToken();
    EXPECT_EQ(st.nextToken(), StreamTokenizer::TT_WORD);  // the blank was skipped
    EXPECT_EQ(st.sval, "b");
}

TEST(StreamTokenizer, ManyCommentLinesDoNotRecurse)
{
    QString s;
    for (int i = 0; i < 200000; ++i) s += QStringLiteral("/\n");
    s += QStringLiteral("x");
    EXPECT_EQ(tokensOf(s), QStringList{"x"});
}

TEST(JavaDoubleToString, Values)
{
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {1, "1.0"}, {0.5, "0.5"}, {0.001, "0.001"}, {0.0001, "1.0E-4"}, {1234567, "1234567.0"},
        {1e7, "1.0E7"}, {1e10, "1.0E10"}, {123456789012.0, "1.23456789012E11"}, {0.1 + 0.2, "0.30000000000000004"},
        {-2.5, "-2.5"}, {0.0, "0.0"}, {-0.0, "-0.0"}, {1e300 * 1e10, "Infinity"}, {-1e300 * 1e10, "-Infinity"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"}, {4.9e-324, "4.9E-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157E308"},
        // whole numbers between 2^53 and 2^63 keep their exact digits
        {45660518126945832.0, "4.5660518126945832E16"}, {9223372036854774784.0, "9.2233720368547748E18"},
        {1e20, "1.0E20"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::javaDoubleToString(c.v), QString::fromLatin1(c.text)) << c.text;
}

TEST(StreamTokenizer, AgreesWithJavaOnGeneratedTexts)
{
    QFile f(QStringLiteral(JO_SOURCE_DIR "/tests/lookup/data/tokens_java.tsv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int lines = 0;
    while (!f.atEnd()) {
        const QString line = QString::fromLatin1(f.readLine()).chopped(1);
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 4);
        const QString in = unhex(fields[0]);
        QStringList expected;
        if (!fields[1].isEmpty())
            for (const QString& t : fields[1].split(QLatin1Char(','))) expected << unhex(t);
        EXPECT_EQ(tokensOf(in), expected) << fields[0].toStdString();
        EXPECT_EQ(lookup::StripQualifiers::strip(in), unhex(fields[2])) << fields[0].toStdString();
        EXPECT_EQ(lookup::StripQualifiers::getQualifier(), unhex(fields[3])) << fields[0].toStdString();
        ++lines;
    }
    EXPECT_EQ(lines, 500);
}

}  // namespace
