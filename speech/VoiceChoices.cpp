#include "speech/VoiceChoices.h"

#include <algorithm>
#include <array>

namespace {

bool describedBefore(const VoiceToken& voice, const QString& description)
{
    return voice.description.compare(description, Qt::CaseInsensitive) < 0;
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
