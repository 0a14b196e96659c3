#include "app/ConfigFile.h"

#include "platform/AtomicFile.h"
#include "platform/LineReader.h"

namespace app {

bool loadConfig(const QString& path, QString& docpath, QString& docpath2, ConfigOrigin* origin)
{
    ConfigOrigin seen;
    auto finish = [&](ConfigOrigin::State state) {
        seen.state = state;
        seen.docpath = docpath;
        seen.docpath2 = docpath2;
        if (origin)
            *origin = seen;
        return state == ConfigOrigin::State::Read || state == ConfigOrigin::State::Missing;
    };
    if (!platform::fileExists(path))
        return finish(ConfigOrigin::State::Missing);
    platform::LineReader reader(path);
    if (!reader.isOpen())
        return finish(ConfigOrigin::State::Unreadable);
    const auto lost = [&reader] {
        return reader.failed() ? ConfigOrigin::State::Unreadable : ConfigOrigin::State::Short;
    };
    const auto first = reader.readLineBytes();
    if (!first)
        return finish(lost());
    docpath = QString::fromUtf8(*first);
    seen.bytes = *first;
    seen.hasBytes = true;
    const auto second = reader.readLineBytes();
    if (!second)
        return finish(lost());
    docpath2 = QString::fromUtf8(*second);
    seen.bytes2 = *second;
    seen.hasBytes2 = true;
    return finish(ConfigOrigin::State::Read);
}

bool saveConfig(const QString& path, const QString& docpath, const QString& docpath2, const ConfigOrigin* origin)
{
    const bool unchanged = origin && docpath == origin->docpath && docpath2 == origin->docpath2;
    if (unchanged && origin->state == ConfigOrigin::State::Unreadable)
        return true;  // what could not be read is not ours to replace
    const bool keep = origin && origin->hasBytes && docpath == origin->docpath;
    const bool keep2 = origin && origin->hasBytes2 && docpath2 == origin->docpath2;
    const QByteArray bytes =
        (keep ? origin->bytes : docpath.toUtf8()) + '\n' + (keep2 ? origin->bytes2 : docpath2.toUtf8()) + '\n';
    return platform::writeFileAtomically(path, bytes);
}

}  // namespace app
