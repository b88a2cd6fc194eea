#include "core/Syllables.h"

#include <QFile>
#include <QLocale>

#include <hyphen.h>

#include <cstdlib>
#include <vector>

namespace {
constexpr qsizetype LongestWord = 64; // longer runs of letters are not words worth splitting
constexpr int CacheLimit = 200000;

void freeSpecialHyphens(char** rep, int* pos, int* cut, int size)
{
    if (rep) {
        for (int i = 0; i < size; ++i)
            std::free(rep[i]);
        std::free(rep);
    }
    std::free(pos);
    std::free(cut);
}
} // namespace

Syllables::Syllables(const QString& dictionaryPath)
{
    if (!dictionaryPath.isEmpty())
        mDictionary = hnj_hyphen_load(QFile::encodeName(dictionaryPath).constData());
}

Syllables::~Syllables()
{
    if (mDictionary)
        hnj_hyphen_free(mDictionary);
}

QString Syllables::DefaultDictionary()
{
    const QString folder = QStringLiteral("/usr/share/hyphen/");
    const bool british = QLocale::system().territory() == QLocale::UnitedKingdom;
    for (const QString& name : british
                                   ? QStringList{QStringLiteral("hyph_en_GB.dic"), QStringLiteral("hyph_en_US.dic")}
                                   : QStringList{QStringLiteral("hyph_en_US.dic"), QStringLiteral("hyph_en_GB.dic")})
        if (QFile::exists(folder + name))
            return folder + name;
    return {};
}

QList<int> Syllables::breaks(QStringView word) const
{
    if (!mDictionary || word.size() < 2 * MinSyllable || word.size() > LongestWord)
        return {};
    const QString key = word.toString().toLower();
    if (const auto cached = mCache.constFind(key); cached != mCache.cend())
        return *cached;
    QList<int> found;
    // Lower case must keep the word's length, or the breaks could not be mapped back onto it.
    if (key.size() == word.size()) {
        const QByteArray utf8 = key.toUtf8();
        std::vector<char> hyphens(size_t(utf8.size()) + 5, 0);
        char** rep = nullptr;
        int* pos = nullptr;
        int* cut = nullptr;
        if (hnj_hyphen_hyphenate3(mDictionary, utf8.constData(), int(utf8.size()), hyphens.data(), nullptr, &rep, &pos,
                                  &cut, MinSyllable, MinSyllable, MinSyllable, MinSyllable) == 0) {
            // A UTF-8 dictionary numbers the hyphens by character (code point), not by byte.
            const bool byCharacter = mDictionary->utf8;
            int unit = 0;      // UTF-16 position of the current character
            int character = 0; // its index in the hyphens vector
            int byte = 0;
            while (unit < key.size()) {
                const int units = key.at(unit).isHighSurrogate() && unit + 1 < key.size() ? 2 : 1;
                const int bytes = QStringView(key).mid(unit, units).toUtf8().size();
                const int index = byCharacter ? character : byte + bytes - 1;
                if ((hyphens[size_t(index)] & 1) && unit + units < key.size())
                    found.append(unit + units);
                unit += units;
                byte += bytes;
                ++character;
            }
        }
        freeSpecialHyphens(rep, pos, cut, int(utf8.size()));
    }
    if (mCache.size() >= CacheLimit)
        mCache.clear();
    mCache.insert(key, found);
    return found;
}
