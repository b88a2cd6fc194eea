#include "platform/speech/EspeakVoices.h"

#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

constexpr int NormalWordsPerMinute = 175;
constexpr int SlowestWordsPerMinute = 80;
constexpr int FastestWordsPerMinute = 450;

QString localeDescription(const QString& language)
{
    const QLocale locale(QString(language).replace(u'-', u'_'));
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return {};
    QString description = QLocale::languageToString(locale.language());
    // QLocale fills in a likely territory; name it only when the code did.
    if (language.contains(u'-') && locale.territory() != QLocale::AnyTerritory)
        description += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
    return description;
}

bool isOnlyACode(const QString& name, const EspeakVoiceEntry& voice)
{
    const QString leaf = voice.identifier.section(u'/', -1);
    return name.compare(voice.identifier, Qt::CaseInsensitive) == 0 || name.compare(leaf, Qt::CaseInsensitive) == 0 ||
           name.compare(voice.language, Qt::CaseInsensitive) == 0;
}

QString describe(const EspeakVoiceEntry& voice)
{
    const QString name = QString(voice.name).replace(u'_', u' ').simplified();
    if (!name.isEmpty() && !isOnlyACode(name, voice))
        return name;
    const QString described = localeDescription(voice.language);
    if (!described.isEmpty())
        return described;
    return name.isEmpty() ? voice.identifier : name;
}

} // namespace

QList<EngineVoice> describeVoices(const QList<EspeakVoiceEntry>& voices)
{
    QList<EngineVoice> described;
    QSet<QString> taken;
    for (const EspeakVoiceEntry& voice : voices) {
        if (voice.identifier.isEmpty() || voice.identifier.startsWith(QLatin1String("mb/")))
            continue;
        QString description = describe(voice);
        if (taken.contains(description.toCaseFolded())) {
            const QString suffix = voice.language.isEmpty() ? voice.identifier : voice.language;
            description += QStringLiteral(" (%1)").arg(suffix);
            if (taken.contains(description.toCaseFolded()))
                description = QStringLiteral("%1 (%2)").arg(describe(voice), voice.identifier);
        }
        taken.insert(description.toCaseFolded());
        described.append({voice.identifier, description, voice.language});
    }
    return described;
}

int wordsPerMinuteForRate(int rate)
{
    rate = std::clamp(rate, -10, 10);
    const double limit = rate < 0 ? SlowestWordsPerMinute : FastestWordsPerMinute;
    const double ratio = limit / NormalWordsPerMinute;
    return int(std::lround(NormalWordsPerMinute * std::pow(ratio, std::abs(rate) / 10.0)));
}
