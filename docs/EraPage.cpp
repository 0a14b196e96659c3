#include "docs/EraPage.h"

#include "docs/SelectionArgs.h"
#include "platform/JavaText.h"
#include "platform/LineReader.h"

namespace docs {

namespace {

constexpr int kMaxPasses = 10000;
constexpr int kMaxTags = 25;
constexpr int kMaxEntities = 8;

bool hasEndMarker(const QString& line)
{
    // "</dl></dd>" contains "</dl>", so one search covers both.
    return line.contains(QLatin1String("</dl>")) || line.contains(QLatin1String("</TR>"))
        || line.contains(QLatin1String("<HR>")) || line.contains(QLatin1String("See Also"));
}

bool hasOpeningMarker(const QString& line)
{
    // "<a name="constructors">" contains "constructors".
    return line.contains(QLatin1String("constructors"))
        || line.contains(QLatin1String("Constructor Detail"));
}

bool hasClosingMarker(const QString& line)
{
    return line.contains(QLatin1String("Overview")) || line.contains(QLatin1String("All Packages"));
}

QString rule()
{
    return QLatin1String("  ") + QString(121, QLatin1Char('-'));
}

struct Emitter {
    QString result;
    QString previous;
    int appended = 0;
    bool firstHandled = false;

    void handle(QString line)
    {
        if (line.contains(QLatin1String("Method Detail")))
            line.prepend(QLatin1String("\n\n"));
        const QString trimmed = platform::javaTrim(line);
        const bool dropped = (trimmed.size() < 3 && previous.size() < 3) || line.size() == 1
            || line.size() == 2;
        if (!dropped) {
            if (!line.startsWith(QLatin1String("  ")))
                line.prepend(QLatin1String("  "));
            static const struct {
                QLatin1String from, to;
            } labels[] = {
                {QLatin1String("Parameters:"), QLatin1String("PARAMETERS:")},
                {QLatin1String("Specified by:"), QLatin1String("SPECIFIED BY:")},
                {QLatin1String("Returns:"), QLatin1String("RETURNS:")},
                {QLatin1String("Throws:"), QLatin1String("THROWS:")},
                {QLatin1String("Overrides:"), QLatin1String("OVERRIDES:")},
            };
            for (const auto& label : labels) {
                const qsizetype at = line.indexOf(label.from);
                if (at >= 0)
                    line.replace(at, label.from.size(), label.to);
            }
            result += line;
            result += QLatin1Char('\n');
            if (++appended == 1)
                result += rule();
        }
        previous = trimmed;
        if (!firstHandled) {
            firstHandled = true;
            result += QLatin1Char('\n');
        }
    }
};

}  // namespace

QString convertEraLine(QString line)
{
    for (int i = 0; i < kMaxTags; ++i) {
        const qsizetype open = line.indexOf(QLatin1Char('<'));
        if (open < 0)
            break;
        const qsizetype close = line.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            break;
        const QStringView tag = QStringView(line).mid(open);
        const QStringView pre = QStringView(line).left(open);
        const QStringView post = QStringView(line).mid(close + 1);
        QString joined;
        joined.reserve(line.size() + 4);
        joined += pre;
        if (tag.startsWith(QLatin1String("<BR>")) || tag.startsWith(QLatin1String("<DT>")))
            joined += pre.isEmpty() ? QLatin1String(".\n  ") : QLatin1String("\n  ");
        else if (tag.startsWith(QLatin1String("<DD>")))
            joined += QLatin1Char(' ');
        joined += post;
        line = std::move(joined);
    }
    for (int i = 0; i < kMaxEntities; ++i) {
        const qsizetype at = line.indexOf(QLatin1String("&nbsp;"));
        if (at < 0)
            break;
        line.replace(at, 6, QLatin1Char(' '));
    }
    line = QLatin1String("  ") + platform::javaTrim(line);
    static const QLatin1String heads[] = {
        QLatin1String("  Parameters:"),
        QLatin1String("  Returns:"),
        QLatin1String("  Throws:"),
        QLatin1String("  Overrides:"),
    };
    for (const QLatin1String& head : heads) {
        if (!line.startsWith(head))
            continue;
        QString rest = line.mid(head.size());
        if (rest.size() > 2)
            rest.prepend(QLatin1String("\n  "));
        line = QLatin1Char('\n') + QString(head).toUpper() + rest;
        break;
    }
    return line;
}

QString extractEraPage(const QString& fsPath, const QString& memberName, int commaCount)
{
    platform::LineReader reader(fsPath);
    Emitter out;
    if (!reader.isOpen())
        return out.result;

    const QString nameParen = memberName + QLatin1Char('(');
    const QString nameTag = memberName + QLatin1Char('<');
    bool inDetail = false;
    bool found = false;
    bool ended = false;
    int lineCount = 0;

    do {
        ++lineCount;
        std::optional<QString> read = reader.readLine();
        if (!read)
            break;
        QString line = std::move(*read);
        if (!line.isEmpty() && line.back() == QLatin1Char(',')) {
            std::optional<QString> next = reader.readLine();
            if (!next)
                break;
            line += QLatin1Char(' ');
            line += platform::javaTrim(*next);
        }

        // The found test needs an open section, so the searches behind it are
        // skipped outside one; the outcome is the same.
        if (inDetail && !found) {
            qsizetype at = line.indexOf(nameParen);
            if (at < 0)
                at = line.indexOf(nameTag);
            if (at >= 0) {
                const qsizetype pub = line.indexOf(QLatin1String("public"));
                if (pub >= 0 && at > pub && docs::commaCount(line) == commaCount)
                    found = true;
            }
        }
        if (found && hasEndMarker(line))
            ended = true;
        if (hasOpeningMarker(line))
            inDetail = true;
        if (hasClosingMarker(line))
            inDetail = false;
        if (inDetail && found && !ended)
            out.handle(convertEraLine(std::move(line)));
    } while (!ended && lineCount < kMaxPasses);
    return out.result;
}

}  // namespace docs
