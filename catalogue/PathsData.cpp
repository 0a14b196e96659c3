#include "catalogue/PathsData.h"

#include <stdexcept>
#include <string>

namespace {
constexpr const char16_t* kPaths[] = {
#include "catalogue/PathsTable.inc"
};
static_assert(std::size(kPaths) == PathsData::kCount);
}  // namespace

PathsData::PathsData()
{
    // The texts are constants of the program: each entry shares them, nothing is copied.
    for (int i = 0; i < kCount; ++i)
        paths[i] = QString::fromRawData(
            reinterpret_cast<const QChar*>(kPaths[i]), std::char_traits<char16_t>::length(kPaths[i]));
}

const QString& PathsData::getString(int i) const
{
    if (i < 0 || i >= kCount)
        throw std::out_of_range("PathsData index " + std::to_string(i) + " out of range");
    return paths[i];
}
