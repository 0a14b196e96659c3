#include "lookup/StripQualifiers.h"

#include "platform/JavaDouble.h"

namespace lookup {

QString StripQualifiers::sbq;

StripQualifiers::StripQualifiers(const QString& s) : st(s)
{
    st.ordinaryChar(' ');
    sbq = QString();
}

std::optional<QString> StripQualifiers::getNext()
{
    return nextToken(st);
}

std::optional<QString> StripQualifiers::nextToken(platform::StreamTokenizer& st)
{
    const int t = st.nextToken();
    switch (t) {
    case platform::StreamTokenizer::TT_EOF:
        return std::nullopt;
    case platform::StreamTokenizer::TT_WORD:
        return st.sval;
    case platform::StreamTokenizer::TT_NUMBER:
        return platform::javaDoubleToString(st.nval);
    default:
        return QString(QChar(static_cast<char16_t>(t)));
    }
}

QString StripQualifiers::getQualifier()
{
    return sbq;
}

QString StripQualifiers::strip(const QString& s)
{
    StripQualifiers sq(s);
    sbq.clear();

    QString result;
    QString qualifier;

    // The character before "(" is dropped before the blank is looked for, so a
    // constructor outside any package ("public Foo()") yields "Fo"; kept as the
    // grouping has always shown it.
    const qsizetype p = s.lastIndexOf(QLatin1Char('('));
    if (p > 0) {
        QString head = s.left(p - 1);
        const qsizetype dot = head.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            head.truncate(dot);
        const qsizetype blank = head.lastIndexOf(QLatin1Char(' '));
        if (blank >= 0)
            qualifier = head.mid(blank + 1);
    }

    result = shortTokens(sq.st);
    sbq += qualifier;
    return result;
}

QString StripQualifiers::shortTokens(platform::StreamTokenizer& st)
{
    QString result;
    while (std::optional<QString> token = nextToken(st)) {
        const qsizetype dot = token->lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            result += QStringView(*token).mid(dot + 1);
        else
            result += *token;
    }
    return result;
}

QString StripQualifiers::stripNames(const QString& s)
{
    platform::StreamTokenizer st(s);
    st.ordinaryChar(' ');
    return shortTokens(st);
}

}  // namespace lookup
