// Arbitrary bytes as a Java source file: the escape translation, the scanner,
// and every comment it finds (/** */ and ///) through the comment renderer and
// the erasure.
// The input is read a second time as the rest of a field list
// ("int a" + input), the declaration a file can repeat millions of times.

#include <QString>
#include <cstddef>
#include <cstdint>

#include "javadoc/source/CommentRenderer.h"
#include "javadoc/source/JavaSourceScanner.h"

namespace {

using namespace javadoc::source;

void render(const QString& doc, CommentSyntax syntax)
{
    const CommentParts parts = splitComment(doc, syntax);
    const ValueLookup value = [](const QString& ref) { return ref.left(8); };
    markupLines(renderInlineTags(replaceInheritDoc(parts.description, QStringLiteral("{@code x}")), value));
    for (const CommentTag& tag : parts.tags) {
        splitReference(tag.text);
        referenceLabel(tag.text);
        markupLines(renderInlineTags(tag.text, value));
    }
}

void visit(const SourceType& type, int depth)
{
    if (type.hasDoc)
        render(type.doc, type.docSyntax);
    const auto vars = typeVariablesOf(type.typeParameters);
    for (const SourceMember& m : type.members) {
        if (m.hasDoc)
            render(m.doc, m.docSyntax);
        auto scope = typeVariablesOf(m.typeParameters);
        scope.insert(scope.end(), vars.begin(), vars.end());
        for (const SourceParam& p : m.params) eraseType(p.type, scope);
        eraseType(m.returnType, scope);
    }
    for (const SourceType& n : type.nested) visit(n, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        translateUnicodeEscapes(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    const SourceFile file = scanJavaSource(text);
    for (const SourceType& t : file.types) visit(t, 0);
    const SourceFile fields = scanJavaSource(QStringLiteral("class F { /** f */ int a") + text + QStringLiteral(" }"));
    for (const SourceType& t : fields.types) visit(t, 0);
    // The whole input as one comment too: the renderer meets text the scanner never cuts out.
    render(text, CommentSyntax::Traditional);
    render(text, CommentSyntax::Markdown);
    return 0;
}
