#include "window/writing/OffensiveWords.h"

#include <QFile>
#include <QSet>
#include <QString>

namespace {
QSet<QString> loadList()
{
    QSet<QString> words;
    QFile file(QStringLiteral(":/writing/Offensive words.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return words;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed().toLower();
        if (!word.isEmpty() && !word.startsWith(QLatin1Char('#')))
            words.insert(word);
    }
    return words;
}

const QSet<QString>& offensiveWords()
{
    static const QSet<QString> words = loadList(); // read once, by whichever thread asks first
    return words;
}
} // namespace

bool IsOffensive(QStringView word)
{
    const QSet<QString>& listed = offensiveWords();
    const QString lower = word.toString().toLower();
    if (listed.contains(lower))
        return true;
    for (const QLatin1String ending :
         {QLatin1String("s"), QLatin1String("es"), QLatin1String("ed"), QLatin1String("ing"), QLatin1String("er"),
          QLatin1String("ers"), QLatin1String("y")}) {
        if (!lower.endsWith(ending) || lower.size() <= ending.size() + 1)
            continue;
        const QString stem = lower.chopped(ending.size());
        // A doubled last letter before an ending: "shitty", "twatted".
        const bool doubled = stem.size() > 2 && stem.back() == stem.at(stem.size() - 2);
        if (listed.contains(stem) || (doubled && listed.contains(stem.chopped(1))))
            return true;
    }
    return false;
}
