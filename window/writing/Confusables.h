#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A set of words that sound alike or are often swapped, with one sentence that tells them apart.
struct ConfusableSet
{
    QStringList words;   // as written in the list, e.g. "their", "there", "they're"
    QString explanation; // one short sentence with an example
};

// The confusable words, read from a plain text file the user may edit. Each line holds one set: its words
// separated by commas, a colon, then the explanation. Blank lines and lines starting with # are skipped, as are
// lines without a colon or with fewer than two words.
class Confusables
{
public:
    // Replaces the list with the sets of `text`.
    void parse(const QString& text);
    // Reads the file; false (and an empty list) when it cannot be read.
    bool load(const QString& path);

    const QList<ConfusableSet>& sets() const { return mSets; }
    // The set a word belongs to (letter case aside), or nullptr.
    const ConfusableSet* find(const QString& word) const;

private:
    QList<ConfusableSet> mSets;
    QHash<QString, qsizetype> mIndex; // lower-case word -> set
};

// The list's file beside the settings; made from the shipped list when it is missing.
QString ConfusablesFilePath();
