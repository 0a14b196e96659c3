#include "app/ConfigFile.h"

#include <QSaveFile>

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
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (docpath + QLatin1Char('\n') + docpath2 + QLatin1Char('\n')).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace app
