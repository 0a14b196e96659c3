#pragma once
// The built-in table of documentation page paths ("java/util/Vector.html"),
// relative to a documentation root. Read-only after construction.

#include <QString>
#include <array>

class PathsData {
public:
    static constexpr int kCount = 1523;

    PathsData();

    // The entry at index i, 0 <= i < kCount; any other index throws std::out_of_range.
    const QString& getString(int i) const;

private:
    std::array<QString, kCount> paths;
};
