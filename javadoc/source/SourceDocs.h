#pragma once
// Documentation with no HTML installed: the member's declaration and /** */
// comment read from the Java sources beside the class files (the JDK's
// src.zip, a library's sources jar), shaped like the text of its HTML page.
// The extractor's pages come first; this answers only where they gave "".

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "javadoc/DocService.h"
#include "platform/Member.h"

namespace platform::classlib {
class ClassLibrary;
}

namespace javadoc::source {

class SourceLocator;

struct SourceRequest {
    QString memberName;  // as for the extractor
    int commaCount = 0;
    QString groupName;
    QString nameText;  // the class field's text: the class of the "constructors" group
    QString leafText;  // the leaf's trimmed text, for its parameter types; "" when not known
    // The leaf's member when the lookup gave it: its class and parameter types
    // are then taken as they are, and the texts above are not read.
    std::optional<platform::Member> member = std::nullopt;
};

class SourceDocs {
public:
    explicit SourceDocs(platform::classlib::ClassLibrary& library);
    ~SourceDocs();

    // The member's documentation in the extractor's shape, or "" when its
    // class, source or declaration cannot be found.
    // links, when given, gets the text's links (see DocLink.h).
    QString document(const SourceRequest& request, std::vector<DocLink>* links = nullptr);

    // Forgets the files parsed for the last selections (the benchmark's cold
    // start); the open archives stay open.
    void dropParsedFiles();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Over the process's class library; the archives it opens stay open for the run.
QString sourceDoc(const SourceRequest& request, std::vector<DocLink>* links = nullptr);

// The documentation service's source side over sourceDoc: the process's class library.
javadoc::SourceReader& systemSourceReader();

}  // namespace javadoc::source
