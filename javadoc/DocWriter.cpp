#include "javadoc/DocWriter.h"

namespace javadoc {

QString signatureRule()
{
    return QLatin1String("  ") + QString(121, QLatin1Char('-'));
}

void DocWriter::signature(QStringView line)
{
    text_ += QLatin1String("  ");
    text_ += line;
    text_ += QLatin1Char('\n');
    text_ += signatureRule();
    text_ += QLatin1Char('\n');
}

void DocWriter::line(QStringView text)
{
    text_ += QLatin1String("  ");
    text_ += text;
    text_ += QLatin1Char('\n');
}

void DocWriter::label(const QString& upperCase)
{
    text_ += QLatin1String("  \n  ");
    text_ += upperCase;
    text_ += QLatin1Char('\n');
}

}  // namespace javadoc
