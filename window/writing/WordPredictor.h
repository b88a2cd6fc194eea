#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
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
    // Up to five words for the text before the caret, in lower case, likeliest first: the last word there, if
    // unfinished, is their start. Words on the offensive list are never among them.
    QStringList predict(const QString& before);
    // Learns the words and word sequences of a finished sentence.
    void learn(const QString& sentence);

private:
    std::unique_ptr<PastText> mPast;
    std::unique_ptr<Presage> mPresage;
};

// Where the user's word predictions are learnt: beside the settings.
QString UserWordsFilePath();

// Runs a WordPredictor on a thread of its own, so typing never waits for Presage's database. Requests are answered
// in order; one overtaken by a later request is skipped.
class PredictionWorker : public QObject
{
    Q_OBJECT
public:
    explicit PredictionWorker(QString userWords) : mUserWords(std::move(userWords)) {}
    ~PredictionWorker() override;

    // The latest request asked for; read from the worker's thread.
    std::atomic<int> latest{0};

public slots:
    void predict(int request, const QString& before);
    void learn(const QString& sentence);

signals:
    void predicted(int request, const QStringList& words);

private:
    WordPredictor& predictor();

    QString mUserWords;
    std::unique_ptr<WordPredictor> mPredictor; // made on the worker's thread, where it is used
};
