#include "platform/JavaText.h"

namespace platform {

QString javaTrim(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin).unicode() <= 0x20) ++begin;
    while (end > begin && s.at(end - 1).unicode() <= 0x20) --end;
    if (begin == 0 && end == s.size())
        return s;
    return s.mid(begin, end - begin);
}

}  // namespace platform
