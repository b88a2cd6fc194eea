#include "speech/Pronunciations.h"

#include "core/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>

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

// A line as it can be shown: characters that cannot be seen (controls, bytes that were not UTF-8) as \uXXXX.
QString escaped(QStringView line)
{
    QString shown;
    for (const QChar c : line) {
        if (c.isPrint() && c != QChar::ReplacementCharacter)
            shown += c;
        else
            shown += QStringLiteral("\\u") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
    }
    return shown;
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

PronunciationList PronunciationList::load(const QString& path, PronunciationProblems* problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(QString::fromUtf8(file.readAll()), problems);
}

PronunciationList PronunciationList::fromText(const QString& text, PronunciationProblems* problems)
{
    // A word listed again moves to the end with its new form: its earlier entry is only marked gone here, and the
    // list is gathered once at the end, so a file that repeats many words loads as quickly as one that does not.
    struct Entry
    {
        QString written;
        QString spoken;
        bool replaced = false;
    };
    std::vector<Entry> entries;
    QHash<QString, size_t> latest; // lower-cased word to its entry
    qsizetype number = 0;
    for (const QStringView raw : QStringView(text).split(QLatin1Char('\n'))) {
        ++number;
        const QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString written = line.left(std::max<qsizetype>(equals, 0)).trimmed().toString();
        const QString spoken = equals < 0 ? QString() : line.mid(equals + 1).trimmed().toString();
        const QString problem =
            equals < 0 ? QCoreApplication::translate("PronunciationList",
                                                     "there is no \"=\" between the word and how it is said")
                       : problemWith(written, spoken);
        if (!problem.isEmpty()) {
            if (problems && problems->count++ < PronunciationProblems::Described)
                problems->first.append(QCoreApplication::translate("PronunciationList", "line %1 (%2): %3")
                                           .arg(number)
                                           .arg(problem, escaped(line.left(40))));
            continue;
        }
        const QString key = written.toLower();
        const auto before = latest.constFind(key);
        if (before != latest.constEnd())
            entries[*before].replaced = true;
        latest.insert(key, entries.size());
        entries.push_back({written, spoken});
    }
    PronunciationList list;
    list.mSpoken.reserve(latest.size());
    for (const Entry& entry : entries) {
        if (entry.replaced)
            continue;
        list.mWritten.append(entry.written);
        list.mSpoken.insert(entry.written.toLower(), entry.spoken);
    }
    return list;
}

QString PronunciationProblems::summary() const
{
    if (count == 0)
        return {};
    if (count == 1)
        return first.value(0);
    return QCoreApplication::translate("PronunciationList", "%1 lines could not be read; the first: %2")
        .arg(QLocale().toString(count), first.join(QStringLiteral("; ")));
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
