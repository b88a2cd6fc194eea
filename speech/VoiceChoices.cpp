#include "speech/VoiceChoices.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

bool describedBefore(const VoiceToken& voice, const QString& description)
{
    return voice.description.compare(description, Qt::CaseInsensitive) < 0;
}

bool captionBefore(const VoiceMenuEntry& one, const VoiceMenuEntry& other)
{
    return one.caption.compare(other.caption, Qt::CaseInsensitive) < 0;
}

// A description up to its first parenthesis or comma: "English" of "English (Great Britain)".
QString leadingName(const QString& description)
{
    return description.left(description.indexOf(QRegularExpression(QStringLiteral("[(,]")))).trimmed();
}

// Splits `items` into the fewest runs of at most `size`, as even as they can be.
template <typename T> QList<QList<T>> evenRuns(const QList<T>& items, qsizetype size)
{
    QList<QList<T>> runs;
    const qsizetype count = (items.size() + size - 1) / size;
    for (qsizetype run = 0, start = 0; run < count; ++run) {
        const qsizetype length =
            (items.size() - start) / (count - run) + ((items.size() - start) % (count - run) ? 1 : 0);
        runs.append(items.mid(start, length));
        start += length;
    }
    return runs;
}

} // namespace

QList<VoiceToken> SortedUniqueVoices(const QList<VoiceToken>& voices)
{
    QList<VoiceToken> sorted;
    for (const VoiceToken& voice : voices) {
        const auto place = std::lower_bound(sorted.begin(), sorted.end(), voice.description, describedBefore);
        if (place != sorted.end() && place->description.compare(voice.description, Qt::CaseInsensitive) == 0)
            continue;
        sorted.insert(place, voice);
    }
    return sorted;
}

qsizetype IndexOfVoice(const QList<VoiceToken>& voices, const QString& description)
{
    const auto found = std::find_if(voices.begin(), voices.end(), [&description](const VoiceToken& voice) {
        return voice.description.compare(description, Qt::CaseInsensitive) == 0;
    });
    return found == voices.end() ? -1 : found - voices.begin();
}

std::optional<int> RateForSpeed(int speed)
{
    // Two apart, skipping 0 and 1 between speeds 5 and 6.
    static constexpr std::array<int, 10> Rates{-9, -7, -5, -3, -1, 2, 4, 6, 8, 10};
    if (speed < 1 || speed > 10)
        return std::nullopt;
    return Rates[speed - 1];
}

std::optional<int> VolumeForStep(int volume)
{
    if (volume < 1 || volume > 10)
        return std::nullopt;
    return volume * 10;
}

QString VoiceLanguageName(const VoiceToken& voice)
{
    const QLocale::Language language = QLocale::codeToLanguage(voice.language.section(u'-', 0, 0));
    if (language != QLocale::AnyLanguage && language != QLocale::C)
        return QLocale::languageToString(language);
    return leadingName(voice.description);
}

VoiceMenuLayout ArrangeVoices(const QList<VoiceToken>& voices, qsizetype chosen, int rows)
{
    rows = qMax(rows, 1);
    // The languages in the order their first voice comes (the list is sorted), each with its voices.
    QStringList names;
    QList<QList<qsizetype>> languages;
    for (qsizetype i = 0; i < voices.size(); ++i) {
        const QString name = VoiceLanguageName(voices[i]);
        qsizetype language = names.indexOf(name);
        if (language < 0) {
            language = names.size();
            names.append(name);
            languages.append(QList<qsizetype>());
        }
        languages[language].append(i);
    }

    VoiceMenuLayout layout;
    QList<VoiceMenuEntry> alone; // voices of one-voice languages, in `rest`
    for (qsizetype language = 0; language < languages.size(); ++language) {
        QList<qsizetype> members = languages[language];
        std::stable_partition(members.begin(), members.end(), [&](qsizetype i) { return voices[i].natural; });
        const bool leads = members.contains(chosen) || voices[members.first()].natural;
        QList<VoiceMenuEntry> entries;
        if (members.size() == 1) {
            entries.append({VoiceMenuEntry::Voice, voices[members.first()].description, members});
        } else {
            const QList<QList<qsizetype>> parts = evenRuns(members, rows);
            for (qsizetype part = 0; part < parts.size(); ++part) {
                const QString caption = parts.size() == 1 ? names[language]
                                                          : QCoreApplication::translate("VoiceChoices", "%1 (%2 of %3)")
                                                                .arg(names[language])
                                                                .arg(part + 1)
                                                                .arg(parts.size());
                entries.append({VoiceMenuEntry::Language, caption, parts[part]});
            }
        }
        if (leads)
            layout.leading += entries;
        else if (members.size() == 1)
            alone += entries;
        else
            layout.rest += entries;
    }
    // The chosen voice's language comes first of all.
    std::sort(layout.leading.begin(), layout.leading.end(), captionBefore);
    std::stable_partition(layout.leading.begin(), layout.leading.end(),
                          [chosen](const VoiceMenuEntry& entry) { return entry.voices.contains(chosen); });

    std::sort(alone.begin(), alone.end(), captionBefore);
    const qsizetype separator = layout.leading.isEmpty() ? 0 : 1;
    if (layout.leading.size() + separator + layout.rest.size() + alone.size() <= rows) {
        layout.rest += alone;
    } else {
        for (const QList<VoiceMenuEntry>& run : evenRuns(alone, rows)) {
            if (run.size() == 1) {
                layout.rest += run;
                continue;
            }
            VoiceMenuEntry gathered{VoiceMenuEntry::Languages};
            gathered.first = leadingName(run.first().caption);
            gathered.last = leadingName(run.last().caption);
            gathered.caption = QStringLiteral("%1 %2 %3").arg(gathered.first, QChar(0x2013), gathered.last);
            for (const VoiceMenuEntry& entry : run)
                gathered.voices += entry.voices;
            layout.rest.append(gathered);
        }
    }
    std::sort(layout.rest.begin(), layout.rest.end(), captionBefore);
    return layout;
}
