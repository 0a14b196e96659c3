#include "platform/ControlChars.h"

namespace platform {

namespace {

bool isShown(char16_t c)
{
    return isControlChar(c) && c != u'\t' && c != u'\n';
}

}  // namespace

QString showControlChars(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && !isShown(text.at(first).unicode())) ++first;
    if (first == text.size())
        return text;
    static const char16_t hex[] = u"0123456789abcdef";
    QString out;
    out.reserve(text.size() + 16);
    out.append(QStringView(text).left(first));
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!isShown(c)) {
            out.append(QChar(c));
            continue;
        }
        const char16_t escape[] = {u'\\', u'u', u'0', u'0', hex[(c >> 4) & 0xF], hex[c & 0xF]};
        out.append(QStringView(escape, 6));
    }
    return out;
}

}  // namespace platform
