#include "platform/SwingNaming.h"

namespace platform {

namespace {

QLatin1String latin1(std::string_view s)
{
    return QLatin1String(s.data(), qsizetype(s.size()));
}

// "com.sun.java." / "com\sun\java\" style: the old root and the separator after it.
QString oldRootWith(QChar separator)
{
    QString root = latin1(kOldSwingRoot);
    root.replace(QLatin1Char('.'), separator);
    return root;
}

}  // namespace

QString toOldSwingRoot(const QString& modernName)
{
    return latin1(kOldSwingRoot) + modernName.mid(qsizetype(kModernSwingRoot.size()));
}

bool hasOldSwingRoot(const QString& name)
{
    return name.startsWith(latin1(kOldSwingRoot)) && name.size() > qsizetype(kOldSwingRoot.size()) &&
        name.at(qsizetype(kOldSwingRoot.size())) == QLatin1Char('.');
}

QString toModernSwingRoot(const QString& name)
{
    if (!hasOldSwingRoot(name))
        return name;
    return latin1(kModernSwingRoot) + name.mid(qsizetype(kOldSwingRoot.size()));
}

QString withModernSwingRoot(const QString& text, QChar separator)
{
    // "com.sun" (seven characters) finds the root; all twelve of "com.sun.java" go.
    const qsizetype at = text.indexOf(oldRootWith(separator).left(7));
    if (at < 0)
        return text;
    QString modern = text;
    modern.replace(at, qsizetype(kOldSwingRoot.size()), latin1(kModernSwingRoot));
    return modern;
}

bool mentionsSwingRoot(const QString& name)
{
    return name.contains(latin1(kModernSwingRoot)) || name.contains(oldRootWith(QLatin1Char('.')).left(7)) ||
        name.contains(oldRootWith(QLatin1Char('\\')).left(7));
}

size_t appendOldSwingRoot(std::string& out, std::string_view internalName)
{
    const size_t rootLength = kModernSwingRoot.size() + 1;
    if (internalName.substr(0, kModernSwingRoot.size()) != kModernSwingRoot || internalName.size() < rootLength ||
        internalName[kModernSwingRoot.size()] != '/')
        return 0;
    out += kOldSwingRoot;
    out += '.';
    return rootLength;
}

}  // namespace platform
