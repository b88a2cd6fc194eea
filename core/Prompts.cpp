#include "core/Prompts.h"

#include <QFileInfo>
#include <QStringList>

namespace {
Prompts* current = nullptr;
}

Prompts& prompts()
{
    Q_ASSERT(current);
    return *current;
}

void setPrompts(Prompts* prompts)
{
    current = prompts;
}

QString qtFilterFromWindowsFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString caption = parts[i];
        // Qt takes the patterns from the last parentheses; make sure they are the real ones.
        entries << QStringLiteral("%1 (%2)").arg(caption.section(QLatin1String(" ("), 0, 0), patterns);
    }
    return entries.join(QLatin1String(";;"));
}

QString withDefaultExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}
