#include "platform/StreamTokenizer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

namespace {
constexpr unsigned char CT_WHITESPACE = 1;
constexpr unsigned char CT_DIGIT = 2;
constexpr unsigned char CT_ALPHA = 4;
constexpr unsigned char CT_QUOTE = 8;
constexpr unsigned char CT_COMMENT = 16;
}  // namespace

StreamTokenizer::StreamTokenizer(const QString& text) : text_(text)
{
    std::memset(ctype_, 0, sizeof ctype_);
    for (int c = 'a'; c <= 'z'; ++c) ctype_[c] |= CT_ALPHA;
    for (int c = 'A'; c <= 'Z'; ++c) ctype_[c] |= CT_ALPHA;
    for (int c = 128 + 32; c <= 255; ++c) ctype_[c] |= CT_ALPHA;
    for (int c = 0; c <= ' '; ++c) ctype_[c] = CT_WHITESPACE;
    ctype_[int('/')] = CT_COMMENT;
    ctype_[int('"')] = CT_QUOTE;
    ctype_[int('\'')] = CT_QUOTE;
    for (int c = '0'; c <= '9'; ++c) ctype_[c] |= CT_DIGIT;
    ctype_[int('.')] |= CT_DIGIT;
    ctype_[int('-')] |= CT_DIGIT;
}

void StreamTokenizer::ordinaryChar(int ch)
{
    if (ch >= 0 && ch < 256)
        ctype_[ch] = 0;
}

int StreamTokenizer::read()
{
    if (pos_ >= text_.size())
        return -1;
    return text_.at(pos_++).unicode();
}

int StreamTokenizer::nextToken()
{
    // A comment ends in a new token read; Java recurses there, a loop keeps the
    // stack flat for texts made of many comment lines.
    for (;;) {
        sval.clear();

        int c = peekc_;
        if (c < 0)
            c = NEED_CHAR;
        if (c == NEED_CHAR) {
            c = read();
            if (c < 0)
                return ttype = TT_EOF;
        }
        ttype = c;
        peekc_ = NEED_CHAR;

        int ct = c < 256 ? ctype_[c] : CT_ALPHA;
        while ((ct & CT_WHITESPACE) != 0) {
            if (c == '\r') {
                c = read();
                if (c == '\n')
                    c = read();
            } else {
                c = read();
            }
            if (c < 0)
                return ttype = TT_EOF;
            ct = c < 256 ? ctype_[c] : CT_ALPHA;
        }

        if ((ct & CT_DIGIT) != 0) {
            bool neg = false;
            if (c == '-') {
                c = read();
                if (c != '.' && (c < '0' || c > '9')) {
                    peekc_ = c;
                    return ttype = '-';
                }
                neg = true;
            }
            double v = 0;
            long long decexp = 0;
            int seendot = 0;
            for (;;) {
                if (c == '.' && seendot == 0) {
                    seendot = 1;
                } else if ('0' <= c && c <= '9') {
                    v = v * 10 + (c - '0');
                    decexp += seendot;
                } else {
                    break;
                }
                c = read();
            }
            peekc_ = c;
            if (decexp != 0) {
                // The same sequence of roundings as Java: repeated multiplication,
                // then one division.
                double denom = 10;
                --decexp;
                while (decexp > 0) {
                    denom *= 10;
                    --decexp;
                }
                v = v / denom;
            }
            nval = neg ? -v : v;
            return ttype = TT_NUMBER;
        }

        if ((ct & CT_ALPHA) != 0) {
            const qsizetype start = pos_ - 1;
            do {
                c = read();
                ct = c < 0 ? CT_WHITESPACE : c < 256 ? ctype_[c] : CT_ALPHA;
            } while ((ct & (CT_ALPHA | CT_DIGIT)) != 0);
            peekc_ = c;
            // The word is every code unit read from start up to (not including) c.
            sval = text_.mid(start, pos_ - start - (c < 0 ? 0 : 1));
            return ttype = TT_WORD;
        }

        if ((ct & CT_QUOTE) != 0) {
            ttype = c;
            QString buf;
            int d = read();
            while (d >= 0 && d != ttype && d != '\n' && d != '\r') {
                if (d == '\\') {
                    c = read();
                    const int first = c;  // \377 is allowed, \477 is not
                    if (c >= '0' && c <= '7') {
                        c = c - '0';
                        int c2 = read();
                        if ('0' <= c2 && c2 <= '7') {
                            c = (c << 3) + (c2 - '0');
                            c2 = read();
                            if ('0' <= c2 && c2 <= '7' && first <= '3') {
                                c = (c << 3) + (c2 - '0');
                                d = read();
                            } else {
                                d = c2;
                            }
                        } else {
                            d = c2;
                        }
                    } else {
                        switch (c) {
                        case 'a':
                            c = 0x7;
                            break;
                        case 'b':
                            c = '\b';
                            break;
                        case 'f':
                            c = 0xC;
                            break;
                        case 'n':
                            c = '\n';
                            break;
                        case 'r':
                            c = '\r';
                            break;
                        case 't':
                            c = '\t';
                            break;
                        case 'v':
                            c = 0xB;
                            break;
                        default:
                            break;
                        }
                        d = read();
                    }
                } else {
                    c = d;
                    d = read();
                }
                buf.append(QChar(static_cast<char16_t>(c)));  // (char) c, as Java narrows it
            }
            peekc_ = (d == ttype) ? NEED_CHAR : d;
            sval = buf;
            return ttype;
        }

        if ((ct & CT_COMMENT) != 0) {
            while ((c = read()) != '\n' && c != '\r' && c >= 0) { }
            peekc_ = c;
            continue;
        }

        return ttype = c;
    }
}

}  // namespace platform
