#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One meaning of a word, as WordNet gives it.
struct WordMeaning
{
    QString partOfSpeech; // "noun", "verb", "adjective" or "adverb"
    QString gloss;        // what it means
    QStringList examples; // sentences that use it
    QStringList synonyms; // other words of the same meaning, spaces for WordNet's underscores
};

// The meanings of a word from WordNet's database (wordnet-base), most common first within each part of speech:
// nouns, verbs, adjectives, adverbs. A form like "running" is looked up as "run" too. Empty when WordNet lacks it or
// its database is not installed.
QList<WordMeaning> DefineWord(const QString& word);
