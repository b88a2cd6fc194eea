#include "speech/Pronunciations.h"

#include "core/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

constexpr int LongestSide = 200;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('\'') || c == QChar(0x2019) || c.isMark();
}

bool isOneWord(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isWordCharacter);
}

} // namespace

int SpokenTextMap::writtenPosition(int spoken, bool end) const
{
    int shift = 0;
    for (const Replacement& r : mReplacements) {
        if (spoken < r.spokenStart || (end && spoken == r.spokenStart))
            break;
        if (spoken < r.spokenStart + r.spokenLength || (end && spoken == r.spokenStart + r.spokenLength))
            return end ? r.writtenStart + r.writtenLength : r.writtenStart;
        shift = r.writtenStart + r.writtenLength - (r.spokenStart + r.spokenLength);
    }
    return spoken + shift;
}

std::pair<int, int> SpokenTextMap::toWritten(int position, int length) const
{
    const int start = writtenPosition(position, false);
    return {start, std::max(0, writtenPosition(position + length, true) - start)};
}

PronunciationList PronunciationList::load(const QString& path, QStringList* problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(QString::fromUtf8(file.readAll()), problems);
}

PronunciationList PronunciationList::fromText(const QString& text, QStringList* problems)
{
    PronunciationList list;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString written = line.left(std::max<qsizetype>(equals, 0)).trimmed();
        const QString spoken = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        const QString problem =
            equals < 0 ? QCoreApplication::translate("PronunciationList",
                                                     "there is no \"=\" between the word and how it is said")
                       : problemWith(written, spoken);
        if (!problem.isEmpty()) {
            if (problems)
                problems->append(QCoreApplication::translate("PronunciationList", "line %1 (%2): %3")
                                     .arg(i + 1)
                                     .arg(problem, line.left(40)));
            continue;
        }
        list.set(written, spoken);
    }
    return list;
}

QString PronunciationList::problemWith(const QString& written, const QString& spoken)
{
    if (written.isEmpty())
        return QCoreApplication::translate("PronunciationList", "the written word is missing");
    if (spoken.isEmpty())
        return QCoreApplication::translate("PronunciationList", "how it is said is missing");
    if (written.size() > LongestSide || spoken.size() > LongestSide)
        return QCoreApplication::translate("PronunciationList", "it is longer than %1 letters").arg(LongestSide);
    if (!isOneWord(written))
        return QCoreApplication::translate("PronunciationList", "the written side is not one word");
    if (spoken.contains(QLatin1Char('<')))
        return QCoreApplication::translate("PronunciationList", "how it is said holds a \"<\"");
    return {};
}

QString PronunciationList::toText() const
{
    QString text;
    for (const QString& word : mWritten)
        text += word + QLatin1Char('=') + mSpoken.value(word.toLower()) + QLatin1Char('\n');
    return text;
}

void PronunciationList::set(const QString& written, const QString& spoken)
{
    const QString key = written.toLower();
    // Only a word already listed is looked for, so loading a long list stays linear.
    if (mSpoken.contains(key))
        mWritten.removeIf([&key](const QString& word) { return word.toLower() == key; });
    if (spoken.trimmed().isEmpty()) {
        mSpoken.remove(key);
        return;
    }
    mWritten.append(written);
    mSpoken.insert(key, spoken.trimmed());
}

QString PronunciationList::apply(const QString& text, bool markup, SpokenTextMap* map) const
{
    if (mSpoken.isEmpty())
        return text;
    QString spoken;
    spoken.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (markup && text[i] == QLatin1Char('<')) {
            const qsizetype close = text.indexOf(QLatin1Char('>'), i);
            const qsizetype end = close < 0 ? text.size() : close + 1;
            spoken += QStringView(text).mid(i, end - i);
            i = end;
            continue;
        }
        if (!isWordCharacter(text[i])) {
            spoken += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isWordCharacter(text[end]))
            ++end;
        const QStringView word = QStringView(text).mid(i, end - i);
        const auto found = mSpoken.constFind(word.toString().toLower());
        if (found == mSpoken.constEnd()) {
            spoken += word;
        } else {
            if (map)
                map->add({int(spoken.size()), int(found->size()), int(i), int(word.size())});
            spoken += *found;
        }
        i = end;
    }
    return spoken;
}

QString UserPronunciationsPath()
{
    return QDir(appFolder()).filePath(QStringLiteral("Pronunciations.txt"));
}
