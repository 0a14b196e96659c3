// The tokenizer and Double.toString against what the JDK gives; the data file
// was written by java.io.StreamTokenizer itself (default syntax, blank made
// ordinary) over generated texts full of odd characters.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <limits>

#include "lookup/StripQualifiers.h"
#include "platform/JavaDouble.h"
#include "platform/StreamTokenizer.h"

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
    const std::pair<double, const char*> cases[] = {
        {0.001, "0.001"},
        {0.0001, "1.0E-4"},
        {1e7, "1.0E7"},
        {0.1 + 0.2, "0.30000000000000004"},
        {-0.0, "-0.0"},
        {1e300 * 1e10, "Infinity"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {4.9e-324, "4.9E-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157E308"},
        // whole numbers between 2^53 and 2^63 keep their exact digits
        {45660518126945832.0, "4.5660518126945832E16"},
        {9223372036854774784.0, "9.2233720368547748E18"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(platform::javaDoubleToString(v), QString::fromLatin1(text)) << text;
}

TEST(StreamTokenizer, AgreesWithJavaOnGeneratedTexts)
{
    QFile f(QStringLiteral(JO_SOURCE_DIR "/tests/platform/data/tokens_java.tsv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int lines = 0;
    for (; !f.atEnd(); ++lines) {
        const QStringList fields = QString::fromLatin1(f.readLine()).chopped(1).split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 4);
        const QString in = unhex(fields[0]);
        QStringList expected;
        for (const QString& t : fields[1].split(QLatin1Char(','), Qt::SkipEmptyParts)) expected << unhex(t);
        EXPECT_EQ(tokensOf(in), expected) << fields[0].toStdString();
        EXPECT_EQ(lookup::StripQualifiers::strip(in), unhex(fields[2])) << fields[0].toStdString();
        EXPECT_EQ(lookup::StripQualifiers::getQualifier(), unhex(fields[3])) << fields[0].toStdString();
    }
    EXPECT_EQ(lines, 500);
}

}  // namespace
