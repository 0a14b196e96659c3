#pragma once
// tests/platform/data/tokens_java.tsv: texts full of odd characters, each with
// the tokens java.io.StreamTokenizer gave (default syntax, blank made ordinary;
// numbers as Double.toString writes them), the stripped form and the qualifier.
// Every text is UTF-16 code units in hex.

#include <QFile>
#include <QStringList>
#include <vector>

namespace test_support {

struct TokenCase {
    QString hex, text;
    QStringList tokens;
    QString stripped, qualifier;
};

inline QString unhex(QStringView h)
{
    QString s;
    for (qsizetype i = 0; i + 4 <= h.size(); i += 4) s += QChar(char16_t(h.mid(i, 4).toUInt(nullptr, 16)));
    return s;
}

inline std::vector<TokenCase> tokenCases()
{
    std::vector<TokenCase> cases;
    QFile f(QStringLiteral(JO_SOURCE_DIR "/tests/platform/data/tokens_java.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return cases;
    while (!f.atEnd()) {
        const QStringList fields = QString::fromLatin1(f.readLine()).chopped(1).split(QLatin1Char('\t'));
        TokenCase c {fields.value(0), unhex(fields.value(0)), {}, unhex(fields.value(2)), unhex(fields.value(3))};
        for (const QString& t : fields.value(1).split(QLatin1Char(','), Qt::SkipEmptyParts)) c.tokens << unhex(t);
        cases.push_back(c);
    }
    return cases;
}

}  // namespace test_support
