#pragma once

#include <QString>
#include <QStringList>

struct str_enchant_broker;
struct str_enchant_dict;

// Checks words against Enchant's dictionary for one language, Hunspell's first. Words the user adds go to
// Enchant's personal word list for that language, which other desktop programs share; ignored words last as long
// as the checker. Not thread-safe: used from the window's thread.
class SpellChecker
{
public:
    SpellChecker();
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // Takes the dictionary for a voice's language ("en-gb", "en_US", "en"): the exact one, else another of the
    // same language. False, with no dictionary, when none is installed.
    bool setLanguage(const QString& language);
    // The dictionary's tag ("en_GB"), or empty when there is none.
    QString language() const { return mTag; }
    bool ready() const { return mDict != nullptr; }

    // True for a known word, and for any word while there is no dictionary.
    bool check(const QString& word) const;
    // Up to `limit` suggestions, the likeliest first; never a word on the offensive list.
    QStringList suggest(const QString& word, int limit = 8) const;
    // Adds to the personal word list (kept across runs).
    void add(const QString& word);
    // Accepts the word until the checker ends.
    void ignore(const QString& word);

private:
    str_enchant_broker* mBroker = nullptr;
    str_enchant_dict* mDict = nullptr;
    QString mTag;
};

// The Enchant tag for a voice's language tag: "en-gb" gives "en_GB".
QString EnchantTag(const QString& language);
