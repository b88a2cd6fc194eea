#include "window/writing/Confusables.h"

#include "core/AppFolder.h"

#include <QFile>

namespace {
// The straight and the curly apostrophe are the same letter for a confusable word.
QString key(const QString& word)
{
    return word.toLower().replace(QChar(0x2019), QLatin1Char('\''));
}
} // namespace

void Confusables::parse(const QString& text)
{
    mSets.clear();
    mIndex.clear();
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || colon < 0)
            continue;
        ConfusableSet set;
        for (QStringView word : line.left(colon).split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (!word.trimmed().isEmpty())
                set.words << word.trimmed().toString();
        set.explanation = line.mid(colon + 1).trimmed().toString();
        if (set.words.size() < 2)
            continue;
        mSets << set;
        // A word in two sets belongs to the first.
        for (const QString& word : std::as_const(set.words))
            mIndex.insert(key(word), mIndex.value(key(word), mSets.size() - 1));
    }
}

bool Confusables::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        parse({});
        return false;
    }
    parse(QString::fromUtf8(file.readAll()));
    return true;
}

const ConfusableSet* Confusables::find(const QString& word) const
{
    const auto found = mIndex.constFind(key(word));
    return found == mIndex.constEnd() ? nullptr : &mSets.at(*found);
}

// The shipped list is one of the program's resources; a program that did not load them yet (a test) loads them here.
static void loadShippedList()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(loaded);
}

QString ConfusablesFilePath()
{
    loadShippedList();
    const QString path = appPath(QStringLiteral("Confusable words.txt"));
    if (!QFile::exists(path) && QFile::copy(QStringLiteral(":/writing/Confusable words.txt"), path))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    return path;
}
