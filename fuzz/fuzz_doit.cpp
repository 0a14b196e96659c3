// Arbitrary bytes as the page handed to the extractor. The first two bytes pick
// the comma count, the leaf's parameter types and the member name, and
// whether the page is written as one line (its line ends made blanks: a
// reader that reads a line again after each block it finds slows down with
// the line's length); the rest is the page file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QString>
#include <QStringList>
#include <optional>

#include "javadoc/Extractor.h"

namespace {

const QString& root()
{
    static const QString dir = [] {
        // A memory-backed folder where there is one: the page is rewritten for
        // every input, and a disk-backed folder makes that the bottleneck.
        char shm[] = "/dev/shm/fuzz_doit.XXXXXX";
        char tmp[] = "/tmp/fuzz_doit.XXXXXX";
        const char* made = mkdtemp(shm);
        if (!made)
            made = mkdtemp(tmp);
        if (!made)
            std::abort();
        return QString::fromLocal8Bit(made);
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static const char* const names[] = {"", "size", "scale", "add", "a.*(", "Q", "<init>", "x y"};
    const int commas = int(data[0] % 9) - 2;
    static const std::optional<QStringList> types[] = {std::nullopt, QStringList {},
        QStringList {QStringLiteral("int")}, QStringList {QStringLiteral("Object")},
        QStringList {QStringLiteral("int"), QStringLiteral("Object")}, QStringList {QStringLiteral("Map$Entry[]")},
        QStringList {QStringLiteral("String"), QStringLiteral("int"), QStringLiteral("int")}};
    const std::optional<QStringList>& paramTypes = types[(data[0] / 9) % 7];
    const char* name = names[data[1] % 8];
    const bool constructors = data[1] & 0x80;
    const bool oneLine = data[0] >= 189;  // the top quarter of the first byte

    const std::string page = (root() + QStringLiteral("/p.Q.html")).toStdString();
    FILE* f = std::fopen(page.c_str(), "wb");
    if (!f)
        std::abort();
    std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    if (oneLine)
        for (char& c : bytes)
            if (c == '\n' || c == '\r')
                c = ' ';
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    javadoc::DocRequest r;
    r.memberName = QString::fromLatin1(name);
    r.commaCount = commas;
    r.groupName = constructors ? QStringLiteral("constructors") : QStringLiteral("p.Q");
    r.nameText = QStringLiteral("p.Q");
    r.name2 = QStringLiteral("p.Q");
    r.docpath = root();
    r.paramTypes = paramTypes;
    const javadoc::DocResult result = javadoc::doit(r);
    if (!result.pageOpened)
        std::abort();
    return 0;
}
