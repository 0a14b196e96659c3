// libFuzzer target: the class index over an arbitrary jimage (its location
// table listed, module-infos read for their exports, class headers read for
// public and deprecated), the queries over it, and the input itself read as
// a module-info. Any input must give an answer, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lookup/ClassCompletion.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"

using namespace platform::classlib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> packages;
    readUnqualifiedExports(data, size, packages);

    std::string error;
    std::unique_ptr<JImage> image = JImage::fromBuffer(data, size, error);
    if (!image)
        return 0;
    std::vector<std::unique_ptr<ClassSource>> sources;
    sources.push_back(std::make_unique<JImageSource>("fuzz", std::move(image)));
    ClassLibrary library(std::move(sources));
    lookup::ClassCompletion completion(ClassIndex::build(library));
    for (uint32_t id = 0; id < completion.index().size() && id < 64; ++id) completion.index().traits(id);
    size_t total = completion.complete(QStringLiteral("A"), 12).size();
    total += completion.complete(QStringLiteral("AbCd"), 12).size();
    total += completion.complete(QStringLiteral("A.B"), 12).size();
    total += completion.suggest(QStringLiteral("p.Abcde"), 8).size();
    total += size_t(completion.resolve(QStringLiteral("A")).size());
    return total == size_t(-1) ? 1 : 0;
}
