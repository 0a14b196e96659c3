#include "javadoc/source/TypeResolver.h"

namespace javadoc::source {

namespace {

QString qualified(const QString& prefix, const QString& name)
{
    return prefix.isEmpty() ? name : prefix + QLatin1Char('.') + name;
}

}  // namespace

TypeResolver::TypeResolver(TypeScope scope, ClassExists exists) : scope_(std::move(scope)), exists_(std::move(exists))
{ }

QString TypeResolver::binaryOf(const QStringList& parts) const
{
    for (qsizetype classAt = parts.size() - 1; classAt >= 0; --classAt) {
        const QString candidate =
            qualified(parts.first(classAt).join(QLatin1Char('.')), parts.sliced(classAt).join(QLatin1Char('$')));
        if (exists_(candidate))
            return candidate;
    }
    return QString();
}

QString TypeResolver::simpleName(const QString& name) const
{
    for (const QString& scope : scope_.memberScopes) {
        const QString member = scope + QLatin1Char('$') + name;
        if (exists_(member))
            return member;
    }
    for (const QString& import : scope_.typeImports) {
        if (import.endsWith(name) && import.size() > name.size() &&
            import[import.size() - name.size() - 1] == QLatin1Char('.'))
            return binaryOf(import.split(QLatin1Char('.')));
    }
    if (const QString own = qualified(scope_.packageName, name); exists_(own))
        return own;
    QString found;
    for (const QString& package : scope_.onDemandImports) {
        const QString candidate = binaryOf(QString(package + QLatin1Char('.') + name).split(QLatin1Char('.')));
        if (candidate.isEmpty() || candidate == found)
            continue;
        if (!found.isEmpty())
            return QString();  // ambiguous: the compiler would refuse it
        found = candidate;
    }
    if (!found.isEmpty())
        return found;
    const QString lang = QLatin1String("java.lang.") + name;
    return exists_(lang) ? lang : QString();
}

QString TypeResolver::resolve(QStringView written) const
{
    const QString key = written.toString();
    if (const auto it = resolved_.constFind(key); it != resolved_.constEnd())
        return it.value();
    const QStringList parts = key.split(QLatin1Char('.'));
    QString answer;
    if (!key.isEmpty() && !parts.contains(QString())) {
        // A name whose first part is a type in scope names its member types;
        // otherwise the name is qualified by its package.
        answer = simpleName(parts.front());
        if (!answer.isEmpty() && parts.size() > 1) {
            answer += QLatin1Char('$') + parts.sliced(1).join(QLatin1Char('$'));
            if (!exists_(answer))
                answer.clear();
        } else if (answer.isEmpty() && parts.size() > 1) {
            answer = binaryOf(parts);
        }
    }
    resolved_.insert(key, answer);
    return answer;
}

}  // namespace javadoc::source
