#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <memory>

struct _HyphenDict;

// Where a word may be split into syllables, from libhyphen's patterns (the hyphenation dictionaries that
// LibreOffice uses). Answers are cached per word, so a long document costs one lookup per distinct word.
class Syllables
{
public:
    // Loads the patterns of `dictionaryPath` (a hyph_*.dic file); an unreadable file gives an object that finds
    // no breaks.
    explicit Syllables(const QString& dictionaryPath = DefaultDictionary());
    ~Syllables();
    Syllables(const Syllables&) = delete;
    Syllables& operator=(const Syllables&) = delete;

    bool isValid() const { return mDictionary != nullptr; }

    // The positions inside `word` (UTF-16 units, 1 to length - 1) before which a new syllable starts, in
    // increasing order. A syllable is at least two letters long at either end of the word.
    QList<int> breaks(QStringView word) const;

    // Calls `breakAt(position)` for every syllable break in the words of `text` (runs of letters), positions in
    // `text`. Words inside web and mail addresses (joined to more letters or digits by . / @ : or _) are left
    // whole.
    template <typename BreakAt> void forEachBreak(QStringView text, BreakAt&& breakAt) const
    {
        const auto joined = [&](qsizetype joiner, qsizetype beyond) {
            return joiner >= 0 && joiner < text.size() && beyond >= 0 && beyond < text.size() &&
                   QStringView(u"./@:_").contains(text[joiner]) && text[beyond].isLetterOrNumber();
        };
        qsizetype i = 0;
        while (i < text.size()) {
            if (!text[i].isLetter()) {
                ++i;
                continue;
            }
            qsizetype end = i;
            while (end < text.size() && text[end].isLetter())
                ++end;
            if (!joined(i - 1, i - 2) && !joined(end, end + 1))
                for (const int inside : breaks(text.mid(i, end - i)))
                    breakAt(int(i + inside));
            i = end;
        }
    }

    // The patterns for the user's language: British English when the locale says so, otherwise American.
    static QString DefaultDictionary();

    static constexpr int MinSyllable = 2;

private:
    _HyphenDict* mDictionary = nullptr;
    mutable QHash<QString, QList<int>> mCache;
};
