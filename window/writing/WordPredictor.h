#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Presage;
class PastText;

// Offers the words a writer is likely typing next, from Presage's English n-grams and from what this user has
// written before (an n-gram database of their own, `userWords`, learnt from the sentences they finish).
class WordPredictor
{
public:
    explicit WordPredictor(const QString& userWords);
    ~WordPredictor();

    // False when Presage or its English database is missing; it then offers nothing.
    bool ready() const { return mPresage != nullptr; }
    // Up to five words for the text before the caret; the last word there, if unfinished, is their start.
    QStringList predict(const QString& before);
    // Learns the words and word sequences of a finished sentence.
    void learn(const QString& sentence);

private:
    std::unique_ptr<PastText> mPast;
    std::unique_ptr<Presage> mPresage;
};

// Where the user's word predictions are learnt: beside the settings.
QString UserWordsFilePath();
