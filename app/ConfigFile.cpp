#include "app/ConfigFile.h"

#include "platform/AtomicFile.h"
#include "platform/LineReader.h"

namespace app {

bool loadConfig(const QString& path, QString& docpath, QString& docpath2)
{
    if (!platform::fileExists(path))
        return true;
    platform::LineReader reader(path);
    if (!reader.isOpen())
        return false;
    const auto first = reader.readLine();
    if (!first)
        return false;
    docpath = *first;
    const auto second = reader.readLine();
    if (!second)
        return false;
    docpath2 = *second;
    return true;
}

bool saveConfig(const QString& path, const QString& docpath, const QString& docpath2)
{
    const QString text = docpath + QLatin1Char('\n') + docpath2 + QLatin1Char('\n');
    return platform::writeFileAtomically(path, text.toUtf8());
}

}  // namespace app
