#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// How common English words are, each as its share of the words of a corpus, from two that Debian ships: Presage's
// English n-gram database (its word counts; a novel's everyday and function words) and WordNet's counts of the
// senses tagged in its concordance texts (content words, summed over each word's senses). A word in both takes the
// larger share. Words are in lower case.
class WordFrequencies
{
public:
    // The English table, read once from the installed data (empty when neither is installed). Thread-safe.
    static const WordFrequencies& english();

    // The word's share, 0 for a word neither source counts.
    double of(const QString& word) const;
    // Up to `count` of the most frequent words that begin with `prefix` and are written with letters alone (with
    // apostrophes inside), the most frequent first.
    QStringList commonest(const QString& prefix, int count) const;
    bool isEmpty() const { return mWords.empty(); }

private:
    // Reads the two sources from the given files; either may be missing.
    WordFrequencies(const QString& presageDatabase, const QString& wordnetCounts);

    std::vector<std::pair<QString, double>> mWords; // sorted by word
};
