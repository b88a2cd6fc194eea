#include "window/writing/WordPredictor.h"

#include "core/AppFolder.h"
#include "window/writing/OffensiveWords.h"
#include "window/writing/WordFrequencies.h"

#include <QFile>
#include <QHash>
#include <QTemporaryFile>
#include <presage.h>
#include <presageCallback.h>

// What Presage reads as the text before the caret.
class PastText : public PresageCallback
{
public:
    std::string get_past_stream() const override { return past; }
    std::string get_future_stream() const override { return {}; }
    std::string past;
};

namespace {
const QString SystemConfig = QStringLiteral("/etc/presage.xml");
// Enough text before the caret for Presage's trigrams.
constexpr qsizetype PastLength = 200;
constexpr int Offered = 5;
// The words Presage puts forward for the list, before they are ranked.
constexpr int Candidates = 20;

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark() || c == QLatin1Char('\'') || c == QChar(0x2019);
}
} // namespace

WordPredictor::WordPredictor(const QString& userWords) : mPast(std::make_unique<PastText>())
{
    // Presage opens its databases as it starts, so the user's own goes into its configuration first; the rest is
    // the system's. It learns only from finished sentences, never from text the caret merely passes.
    QFile system(SystemConfig);
    if (!system.open(QIODevice::ReadOnly))
        return;
    QString config = QString::fromUtf8(system.readAll());
    config.replace(QStringLiteral("${HOME}/.presage/lm.db"), userWords.toHtmlEscaped());
    config.replace(QStringLiteral("<ONLINE_LEARNING>yes"), QStringLiteral("<ONLINE_LEARNING>no"));
    QTemporaryFile file;
    if (!file.open() || file.write(config.toUtf8()) < 0 || !file.flush())
        return;
    try {
        mPresage = std::make_unique<Presage>(mPast.get(), file.fileName().toStdString());
        mPresage->config("Presage.Selector.SUGGESTIONS", std::to_string(Candidates));
        // Presage leaves out words it offered earlier for the same word, but the list is asked again at every key:
        // without this the word being typed drops out of the list as it grows ("Than" would offer no "thank").
        mPresage->config("Presage.Selector.REPEAT_SUGGESTIONS", "yes");
    } catch (...) {
        mPresage.reset();
    }
}

WordPredictor::~WordPredictor() = default;

QStringList WordPredictor::predict(const QString& before)
{
    QStringList words;
    if (!mPresage)
        return words;
    mPast->past = before.right(PastLength).toStdString();
    qsizetype partStart = before.size();
    while (partStart > 0 && isWordLetter(before.at(partStart - 1)))
        --partStart;
    const QString part = before.mid(partStart).toLower();

    // Presage's n-grams come from one novel: on their own they put a word it happened to use after "the"
    // ("schoolroom") before the common one ("school"). Each word's chance in context is added to how common it is,
    // and the commonest words that begin with what was typed are candidates too.
    QHash<QString, double> chance;
    try {
        for (const auto& [probability, word] : mPresage->predict(std::vector<std::string>{})) {
            double& known = chance[QString::fromStdString(word)];
            known = std::max(known, probability);
        }
    } catch (...) {
    }
    const WordFrequencies& frequencies = WordFrequencies::english();
    if (!part.isEmpty())
        for (const QString& common : frequencies.commonest(part, Candidates))
            chance.insert(common, chance.value(common));
    std::vector<std::pair<double, QString>> ranked;
    for (auto it = chance.cbegin(); it != chance.cend(); ++it)
        if (!IsOffensive(it.key()))
            ranked.emplace_back(*it + frequencies.of(it.key()), it.key());
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    for (const auto& [score, word] : ranked)
        if (words.size() < Offered)
            words << word;
    return words;
}

void WordPredictor::learn(const QString& sentence)
{
    if (!mPresage || sentence.trimmed().isEmpty())
        return;
    try {
        // Presage learns a word once something follows it: without the space the sentence's last word is lost.
        mPresage->learn((sentence.trimmed() + QLatin1Char(' ')).toStdString());
    } catch (...) {
    }
}

QString UserWordsFilePath()
{
    return appPath(QStringLiteral("Parlivo words.db"));
}

PredictionWorker::~PredictionWorker() = default;

WordPredictor& PredictionWorker::predictor()
{
    if (!mPredictor)
        mPredictor = std::make_unique<WordPredictor>(mUserWords);
    return *mPredictor;
}

void PredictionWorker::predict(int request, const QString& before)
{
    if (request < latest.load())
        return;
    emit predicted(request, predictor().predict(before));
}

void PredictionWorker::learn(const QString& sentence)
{
    predictor().learn(sentence);
}
