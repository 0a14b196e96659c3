#include "platform/JavaDouble.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>

namespace platform {

QString javaDoubleToString(double d)
{
    if (std::isnan(d))
        return QStringLiteral("NaN");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (d == 0)
        return std::signbit(d) ? QStringLiteral("-0.0") : QStringLiteral("0.0");

    // Shortest round-trip digits, as "d.ddde±x".
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    std::string sci(buf, res.ptr);
    bool negative = false;
    if (sci[0] == '-') {
        negative = true;
        sci.erase(0, 1);
    }
    auto split = [](const std::string& s, std::string& digits, int& exp) {
        const auto e = s.find('e');
        digits.clear();
        for (size_t i = 0; i < e; ++i)
            if (s[i] != '.')
                digits += s[i];
        exp = std::atoi(s.c_str() + e + 1);
    };
    std::string digits;
    int exp = 0;
    split(sci, digits, exp);

    const double a = std::fabs(d);
    if (a >= 1 && a < 9223372036854775808.0 && std::floor(a) == a) {
        // The JDK's FloatingDecimal writes whole numbers below 2^63 from their
        // exact integer value, dropping only the decimal digits that lie wholly
        // below the double's precision (rounding half up); above 2^53 that is
        // longer than the shortest form ("4.5660518126945832E16").
        int binExp = 0;
        std::frexp(a, &binExp);
        --binExp;  // a = 1.f * 2^binExp
        long long lvalue = static_cast<long long>(a);
        int insignificant = 0;
        static const int kInsignificant[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 6, 7,
            7, 7, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15, 15,
            16, 16, 16, 17, 17, 17, 18, 18, 18, 19};
        const int p2 = binExp - 53 - 1;
        if (binExp > 53 && p2 > 1 && p2 < int(std::size(kInsignificant)))
            insignificant = kInsignificant[p2];
        int decExp = 0;
        if (insignificant != 0) {
            long long pow10 = 1;
            for (int k = 0; k < insignificant; ++k) pow10 *= 10;
            const long long residue = lvalue % pow10;
            lvalue /= pow10;
            decExp += insignificant;
            if (residue >= (pow10 >> 1))
                ++lvalue;
        }
        while (lvalue % 10 == 0) {
            lvalue /= 10;
            ++decExp;
        }
        digits = std::to_string(lvalue);
        exp = decExp + int(digits.size()) - 1;
    } else if (digits.size() == 1) {
        // When a single digit would do, Java prefers the two-digit decimal closest
        // to the value if that one still reads back as the same double (4.9E-324).
        char b2[64];
        auto r2 = std::to_chars(b2, b2 + sizeof b2, std::fabs(d), std::chars_format::scientific, 1);
        std::string two(b2, r2.ptr);
        if (std::strtod(two.c_str(), nullptr) == std::fabs(d)) {
            std::string d2;
            int e2 = 0;
            split(two, d2, e2);
            while (d2.size() > 1 && d2.back() == '0') d2.pop_back();
            digits = d2;
            exp = e2;
        }
    }

    std::string out;
    if (negative)
        out += '-';
    if (exp >= -3 && exp < 7) {
        if (exp >= 0) {
            const size_t intLen = static_cast<size_t>(exp) + 1;
            if (digits.size() <= intLen) {
                out += digits;
                out.append(intLen - digits.size(), '0');
                out += ".0";
            } else {
                out += digits.substr(0, intLen);
                out += '.';
                out += digits.substr(intLen);
            }
        } else {
            out += "0.";
            out.append(static_cast<size_t>(-exp - 1), '0');
            out += digits;
        }
    } else {
        out += digits[0];
        out += '.';
        out += digits.size() > 1 ? digits.substr(1) : std::string("0");
        out += 'E';
        out += std::to_string(exp);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

}  // namespace platform
