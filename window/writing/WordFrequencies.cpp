#include "window/writing/WordFrequencies.h"

#include <QFile>
#include <QHash>
#include <sqlite3.h>

#include <algorithm>

namespace {
const QString PresageEnglish = QStringLiteral("/usr/share/presage/database_en.db");
const QString WordnetCounts = QStringLiteral("/usr/share/wordnet/cntlist.rev");

// Presage's single-word counts: its table _1_gram of (word, count).
QHash<QString, qint64> presageCounts(const QString& path)
{
    QHash<QString, qint64> counts;
    sqlite3* database = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &database, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(database);
        return counts;
    }
    sqlite3_stmt* rows = nullptr;
    if (sqlite3_prepare_v2(database, "SELECT word, count FROM _1_gram", -1, &rows, nullptr) == SQLITE_OK) {
        while (sqlite3_step(rows) == SQLITE_ROW) {
            const auto* word = reinterpret_cast<const char*>(sqlite3_column_text(rows, 0));
            if (word)
                counts[QString::fromUtf8(word).toLower()] += sqlite3_column_int64(rows, 1);
        }
    }
    sqlite3_finalize(rows);
    sqlite3_close(database);
    return counts;
}

// WordNet's lines "lemma%sense_key sense_number tag_count", summed by lemma; multi-word lemmas join theirs with "_".
QHash<QString, qint64> wordnetCounts(const QString& path)
{
    QHash<QString, qint64> counts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return counts;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype percent = line.indexOf('%');
        const qsizetype space = line.lastIndexOf(' ');
        if (percent <= 0 || space < percent)
            continue;
        counts[QString::fromUtf8(line.left(percent)).toLower()] += line.mid(space + 1).toLongLong();
    }
    return counts;
}

bool writtenWithLetters(const QString& word)
{
    return !word.isEmpty() && word.front().isLetter() && word.back().isLetter() &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter() || c == QLatin1Char('\''); });
}
} // namespace

const WordFrequencies& WordFrequencies::english()
{
    static const WordFrequencies table(PresageEnglish, WordnetCounts);
    return table;
}

WordFrequencies::WordFrequencies(const QString& presageDatabase, const QString& wordnetCounts)
{
    QHash<QString, double> shares;
    for (const QHash<QString, qint64>& counts : {presageCounts(presageDatabase), ::wordnetCounts(wordnetCounts)}) {
        qint64 total = 0;
        for (const qint64 count : counts)
            total += count;
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            double& share = shares[it.key()];
            share = std::max(share, double(*it) / double(total));
        }
    }
    mWords.reserve(shares.size());
    for (auto it = shares.begin(); it != shares.end(); ++it)
        mWords.emplace_back(it.key(), *it);
    std::sort(mWords.begin(), mWords.end());
}

double WordFrequencies::of(const QString& word) const
{
    const auto found = std::lower_bound(mWords.begin(), mWords.end(), word,
                                        [](const auto& entry, const QString& wanted) { return entry.first < wanted; });
    return found != mWords.end() && found->first == word ? found->second : 0;
}

QStringList WordFrequencies::commonest(const QString& prefix, int count) const
{
    std::vector<std::pair<double, QString>> found;
    for (auto it = std::lower_bound(mWords.begin(), mWords.end(), prefix,
                                    [](const auto&entry, const QString&wanted) { return entry.first < wanted; });
         it != mWords.end() && it->first.startsWith(prefix); ++it)
        if (writtenWithLetters(it->first))
            found.emplace_back(it->second, it->first);
    const auto shown = found.begin() + std::min<qsizetype>(count, qsizetype(found.size()));
    std::partial_sort(found.begin(), shown, found.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList words;
    for (auto it = found.begin(); it != shown; ++it)
        words << it->second;
    return words;
}
