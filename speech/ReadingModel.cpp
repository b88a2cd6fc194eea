#include "speech/ReadingModel.h"

#include "speech/VoiceChoices.h"

#include <algorithm>

ReadingModel::ReadingModel(Voice& voice, QObject* parent) : QObject(parent), FSpeech(voice) {}

void ReadingModel::setVoices(const QList<VoiceToken>& installed)
{
    FVoices = SortedUniqueVoices(installed);
}

bool ReadingModel::setVoice(const QString& description)
{
    const auto offered = std::find_if(FVoices.cbegin(), FVoices.cend(), [&description](const VoiceToken& voice) {
        return voice.description == description;
    });
    if (offered == FVoices.cend())
        return false;
    // Recorded before the engine takes it: a voice that fails to start is still the one the user chose, and is
    // kept for the next run.
    const VoiceToken token = *offered;
    if (FVoice != description) {
        FVoice = description;
        emit voiceChanged(description);
    }
    FSpeech.SetVoice(token);
    return true;
}

bool ReadingModel::setSpeed(int speed)
{
    const std::optional<int> rate = RateForSpeed(speed);
    if (!rate)
        return false;
    if (FSpeed != speed) {
        FSpeed = speed;
        emit speedChanged(speed);
    }
    FSpeech.SetRate(*rate);
    return true;
}

bool ReadingModel::setVolume(int volume)
{
    const std::optional<int> level = VolumeForStep(volume);
    if (!level)
        return false;
    if (FVolume != volume) {
        FVolume = volume;
        emit volumeChanged(volume);
    }
    FSpeech.SetVolume(*level);
    return true;
}

void ReadingModel::setAutoReadMode(AutoReadMode mode)
{
    if (FAutoReadMode == mode)
        return;
    FAutoReadMode = mode;
    emit autoReadModeChanged(mode);
}

void ReadingModel::setState(ReadingState state)
{
    if (FState == state)
        return;
    FState = state;
    emit stateChanged(state);
}

void ReadingModel::setDocument(QTextDocument* document)
{
    if (FDocument == document)
        return;
    FDocument = document;
    emit documentChanged(document);
}
