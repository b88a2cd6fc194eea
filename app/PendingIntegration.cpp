// Operations whose subsystems are still being written; replaced as each lands.
#include "app/uParlivo.h"
#include "speech/AutoRead.h"

#include <QAction>
#include <QTextEdit>
#include <algorithm>

QList<VoiceToken> SortedUniqueVoices(const QList<VoiceToken>& voices)
{
    QList<VoiceToken> sorted;
    for (const VoiceToken& voice : voices) {
        if (std::none_of(sorted.begin(), sorted.end(), [&](const VoiceToken& other) {
                return other.description.compare(voice.description, Qt::CaseInsensitive) == 0;
            }))
            sorted.append(voice);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const VoiceToken& a, const VoiceToken& b) {
        return a.description.compare(b.description, Qt::CaseInsensitive) < 0;
    });
    return sorted;
}

qsizetype IndexOfVoice(const QList<VoiceToken>& voices, const QString& description)
{
    for (qsizetype i = 0; i < voices.size(); ++i)
        if (voices[i].description.compare(description, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<int> RateForSpeed(int speed)
{
    static const int rates[] = {-9, -7, -5, -3, -1, 2, 4, 6, 8, 10};
    if (speed < 1 || speed > 10)
        return std::nullopt;
    return rates[speed - 1];
}

int VolumeForCaption(int caption)
{
    return caption * 10;
}

