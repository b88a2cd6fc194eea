#include "window/writing/WordDefinitions.h"

#include <QRegularExpression>
#include <wn.h>

namespace {
const char* partName(int pos)
{
    switch (pos) {
    case NOUN:
        return "noun";
    case VERB:
        return "verb";
    case ADJ:
        return "adjective";
    default:
        return "adverb";
    }
}

// WordNet's gloss: the meaning, then examples in double quotes after semicolons.
void splitGloss(const QString& defn, WordMeaning& meaning)
{
    QString text = defn.trimmed();
    if (text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')')))
        text = text.mid(1, text.size() - 2);
    const QStringList parts = text.split(QLatin1Char(';'));
    QStringList glossParts;
    for (const QString& part : parts) {
        const QString piece = part.trimmed();
        if (piece.startsWith(QLatin1Char('"')))
            meaning.examples << QString(piece).remove(QLatin1Char('"')).trimmed();
        else if (meaning.examples.isEmpty())
            glossParts << piece;
    }
    meaning.gloss = glossParts.join(QStringLiteral("; "));
}

void addSenses(const QByteArray& lemma, int pos, const QString& word, QList<WordMeaning>& meanings)
{
    QByteArray search = lemma;
    SynsetPtr senses = findtheinfo_ds(search.data(), pos, SYNS, ALLSENSES);
    for (SynsetPtr sense = senses; sense; sense = sense->nextss) {
        WordMeaning meaning;
        meaning.partOfSpeech = QString::fromLatin1(partName(pos));
        splitGloss(QString::fromUtf8(sense->defn ? sense->defn : ""), meaning);
        for (int i = 0; i < sense->wcount; ++i) {
            // Adjectives carry WordNet's position marker: "running(a)".
            const QString synonym = QString::fromUtf8(sense->words[i])
                                        .replace(QLatin1Char('_'), QLatin1Char(' '))
                                        .remove(QRegularExpression(QStringLiteral("\\([a-z]+\\)$")));
            if (synonym.compare(word, Qt::CaseInsensitive) != 0 &&
                synonym.compare(QString::fromUtf8(lemma), Qt::CaseInsensitive) != 0 &&
                !meaning.synonyms.contains(synonym))
                meaning.synonyms << synonym;
        }
        meanings << meaning;
    }
    if (senses)
        free_syns(senses);
}
} // namespace

QList<WordMeaning> DefineWord(const QString& word)
{
    static const bool opened = wninit() == 0;
    QList<WordMeaning> meanings;
    const QString wanted = word.trimmed().toLower().replace(QChar(0x2019), QLatin1Char('\''));
    if (!opened || wanted.isEmpty() || wanted.size() > 100)
        return meanings;
    QByteArray key = wanted.toUtf8().replace(' ', '_');
    for (int pos : {NOUN, VERB, ADJ, ADV}) {
        // The word as written, else its base form ("running" is "run"; "geese" is "goose").
        QByteArray lemma = key;
        if (!is_defined(lemma.data(), pos)) {
            const char* base = morphstr(lemma.data(), pos);
            if (!base)
                continue;
            lemma = QByteArray(base);
        }
        addSenses(lemma, pos, wanted, meanings);
    }
    return meanings;
}
