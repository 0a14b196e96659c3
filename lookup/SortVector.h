#pragma once
// The member order of the tree: an in-place quicksort over a vector of strings,
// driven by a Compare, and the Compare that orders printed signatures by their
// member's simple name. Equal keys come out in the order this particular
// quicksort leaves them, which the tree shows as is, so the procedure itself
// (pivot, scans, guards) is part of the observable behaviour.

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>

namespace lookup {

class Compare {
public:
    virtual ~Compare() = default;
    // a is ordered strictly before b.
    virtual bool lessThan(const QString& a, const QString& b) const = 0;
    // a is ordered before b or equal to it.
    virtual bool lessThanOE(const QString& a, const QString& b) const = 0;
};

class SortVector : public QList<QString> {
public:
    explicit SortVector(std::shared_ptr<const Compare> c);

    // Sorts the whole vector in place, ascending by compare.
    void sort();

private:
    void quickSort(qsizetype lo, qsizetype hi);
    void swap(qsizetype a, qsizetype b);

    std::shared_ptr<const Compare> compare;
};

// Orders printed signatures by the member's simple name: the text between the
// last "." before the last "(" and that "(" ("Point2D$Double" for a nested
// class's constructor). Compared as Java's String.compareTo does, by UTF-16 code unit.
class StringCompare : public Compare {
public:
    StringCompare() = default;
    bool lessThan(const QString& a, const QString& b) const override;
    bool lessThanOE(const QString& a, const QString& b) const override;

    static QStringView key(const QString& s);
    // Java's compareTo: negative, zero or positive.
    static int compareTo(QStringView a, QStringView b);
};

}  // namespace lookup
