// The tokenizer and Double.toString against what the JDK gives; the data file
// was written by java.io.StreamTokenizer itself (default syntax, blank made
// ordinary) over generated texts full of odd characters.
#include <gtest/gtest.h>

#include <limits>

#include "platform/JavaDouble.h"
#include "platform/StreamTokenizer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TokenData.h"

namespace {

// The tokens as signature stripping reads them: words as read, numbers as
// Double.toString writes them, anything else as its one character.
QStringList tokensOf(const QString& s)
{
    platform::StreamTokenizer st(s);
    st.ordinaryChar(' ');
    QStringList out;
    for (int t; (t = st.nextToken()) != platform::StreamTokenizer::TT_EOF;)
        out << (t == platform::StreamTokenizer::TT_WORD     ? st.sval
                : t == platform::StreamTokenizer::TT_NUMBER ? platform::javaDoubleToString(st.nval)
                                                            : QString(QChar(char16_t(t))));
    return out;
}

TEST(StreamTokenizer, OddInputs)
{
    // A few readable cases; the generated texts below cover the other characters.
    const std::pair<QString, QStringList> cases[] = {
        {"Graphics2D-x.y", {"Graphics2D-x.y"}}, {"Outer$1", {"Outer", "$", "1.0"}}, {"1.2.3", {"1.2", "0.3"}},
        {"a/b c\nd", {"a", "d"}}, {"a\"b c\"d", {"a", "\"", "d"}}, {"'\\'' z", {"'", " ", "z"}},
        {"\x01(\x1f)", {"(", ")"}},                      // control characters are white space
        {QString("/\n").repeated(200000) + "x", {"x"}},  // many comment lines do not recurse
    };
    for (const auto& [in, tokens] : cases) EXPECT_EQ(tokensOf(in), tokens) << in.left(20).toStdString();
}

TEST(JavaDoubleToString, Values)
{
    // (the tokenizer data holds many more numbers)
    const std::pair<double, const char*> cases[] = {{0.001, "0.001"}, {0.0001, "1.0E-4"}, {1e7, "1.0E7"},
        {0.1 + 0.2, "0.30000000000000004"}, {-0.0, "-0.0"}, {1e300 * 1e10, "Infinity"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"}, {4.9e-324, "4.9E-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157E308"},
        // whole numbers between 2^53 and 2^63 keep their exact digits
        {45660518126945832.0, "4.5660518126945832E16"}, {9223372036854774784.0, "9.2233720368547748E18"}};
    for (const auto& [v, text] : cases) EXPECT_EQ(platform::javaDoubleToString(v), QString::fromLatin1(text)) << text;
}

TEST(StreamTokenizer, AgreesWithJavaOnGeneratedTexts)
{
    const auto cases = test_support::tokenCases();
    EXPECT_EQ(cases.size(), 500u);
    for (const auto& c : cases) EXPECT_EQ(tokensOf(c.text), c.tokens) << c.hex.toStdString();
}

}  // namespace
