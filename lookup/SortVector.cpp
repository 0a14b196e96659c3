#include "lookup/SortVector.h"

#include <utility>

namespace lookup {

SortVector::SortVector(std::shared_ptr<const Compare> c) : compare(std::move(c)) { }

void SortVector::sort()
{
    quickSort(0, size() - 1);
}

void SortVector::quickSort(qsizetype lo, qsizetype hi)
{
    while (hi > lo) {
        const QString pivot = at(hi);
        qsizetype i = lo - 1;
        qsizetype j = hi;
        for (;;) {
            // The pivot stays at hi and is not less than itself, so this scan
            // ends at hi; the bound only guards against a Compare that is not a
            // strict order.
            do {
                ++i;
            } while (i < hi && compare->lessThan(at(i), pivot));
            // Guarded at 0, not at lo: the element below lo is never ordered
            // after the pivot, so within sort() this stops at lo - 1 at the latest.
            while (j > 0) {
                --j;
                if (compare->lessThanOE(at(j), pivot))
                    break;
            }
            if (i >= j)
                break;
            swap(i, j);
        }
        swap(i, hi);
        // The two parts never touch each other's elements (a scan that leaves its
        // part reads only the pivot that bounds it, already in its final place),
        // so sorting the smaller part first leaves the same order and keeps the
        // recursion depth logarithmic even for already sorted input.
        if (i - lo < hi - i) {
            quickSort(lo, i - 1);
            lo = i + 1;
        } else {
            quickSort(i + 1, hi);
            hi = i - 1;
        }
    }
}

void SortVector::swap(qsizetype a, qsizetype b)
{
    QString t = at(a);
    (*this)[a] = at(b);
    (*this)[b] = std::move(t);
}

namespace {
// A plain backward scan: the sort asks for keys thousands of times per tree,
// and this is several times quicker than QString::lastIndexOf here.
qsizetype lastIndexBefore(const char16_t* s, qsizetype end, char16_t c)
{
    for (qsizetype k = end - 1; k >= 0; --k)
        if (s[k] == c)
            return k;
    return -1;
}
}  // namespace

QStringView StringCompare::key(const QString& s)
{
    const char16_t* u = reinterpret_cast<const char16_t*>(s.utf16());
    qsizetype p = lastIndexBefore(u, s.size(), u'(');
    if (p < 0)
        p = s.size();  // never the case for a printed signature
    const qsizetype d = lastIndexBefore(u, p, u'.');
    return QStringView(s).mid(d + 1, p - d - 1);
}

int StringCompare::compareTo(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t x = a[k].unicode();
        const char16_t y = b[k].unicode();
        if (x != y)
            return int(x) - int(y);
    }
    return int(a.size() - b.size());
}

bool StringCompare::lessThan(const QString& a, const QString& b) const
{
    return compareTo(key(a), key(b)) < 0;
}

bool StringCompare::lessThanOE(const QString& a, const QString& b) const
{
    return compareTo(key(a), key(b)) <= 0;
}

}  // namespace lookup
