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
    keep(spans, text_.size() + 2, line.size());
    signature(line);
}

void DocWriter::line(QStringView text)
{
    text_ += QLatin1String("  ");
    text_ += text;
    text_ += QLatin1Char('\n');
}

void DocWriter::line(QStringView text, const std::vector<DocLink>& spans)
{
    keep(spans, text_.size() + 2, text.size());
    line(text);
}

void DocWriter::keep(const std::vector<DocLink>& spans, qsizetype at, qsizetype length)
{
    for (const DocLink& span : spans) {
        if (span.start >= 0 && span.length > 0 && span.start + span.length <= length)
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
