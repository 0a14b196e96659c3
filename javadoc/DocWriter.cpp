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

void DocWriter::signature(QStringView line, const std::vector<DocLink>& spans)
{
    const qsizetype at = text_.size() + 2;
    signature(line);
    for (const DocLink& span : spans) {
        if (span.start >= 0 && span.length > 0 && span.start + span.length <= line.size())
            links_.push_back(DocLink {at + span.start, span.length, span.target});
    }
}

void DocWriter::line(QStringView text)
{
    text_ += QLatin1String("  ");
    text_ += text;
    text_ += QLatin1Char('\n');
}

void DocWriter::line(QStringView text, const std::vector<DocLink>& spans)
{
    const qsizetype at = text_.size() + 2;
    line(text);
    for (const DocLink& span : spans) {
        if (span.start >= 0 && span.length > 0 && span.start + span.length <= text.size())
            links_.push_back(DocLink {at + span.start, span.length, span.target});
    }
}

void DocWriter::label(const QString& upperCase)
{
    text_ += QLatin1String("  \n  ");
    text_ += upperCase;
    text_ += QLatin1Char('\n');
}

}  // namespace javadoc
