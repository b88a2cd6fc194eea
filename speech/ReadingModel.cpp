#include "speech/ReadingModel.h"

#include "speech/VoiceChoices.h"

#include <algorithm>

ReadingModel::ReadingModel(Voice& voice, QObject* parent) : QObject(parent), mSpeech(voice) {}

void ReadingModel::setVoices(const QList<VoiceToken>& installed)
{
    mVoices = SortedUniqueVoices(installed);
}

bool ReadingModel::setVoice(const QString& description)
{
    const auto offered = std::find_if(mVoices.cbegin(), mVoices.cend(), [&description](const VoiceToken& voice) {
        return voice.description == description;
    });
    if (offered == mVoices.cend())
        return false;
    // Recorded before the engine takes it: a voice that fails to start is still the one the user chose, and is
    // kept for the next run.
    const VoiceToken token = *offered;
    if (mVoice != description) {
        mVoice = description;
        emit voiceChanged(description);
    }
    mSpeech.SetVoice(token);
    return true;
}

bool ReadingModel::setSpeed(int speed)
{
    const std::optional<int> rate = RateForSpeed(speed);
    if (!rate)
        return false;
    if (mSpeed != speed) {
        mSpeed = speed;
        emit speedChanged(speed);
    }
    mSpeech.SetRate(*rate);
    return true;
}

bool ReadingModel::setVolume(int volume)
{
    const std::optional<int> level = VolumeForStep(volume);
    if (!level)
        return false;
    if (mVolume != volume) {
        mVolume = volume;
        emit volumeChanged(volume);
    }
    mSpeech.SetVolume(*level);
    return true;
}

void ReadingModel::setAutoReadMode(AutoReadMode mode)
{
    if (mAutoReadMode == mode)
        return;
    mAutoReadMode = mode;
    emit autoReadModeChanged(mode);
}

void ReadingModel::setState(ReadingState state)
{
    if (mState == state)
        return;
    mState = state;
    emit stateChanged(state);
}

void ReadingModel::setDocument(QTextDocument* document)
{
    if (mDocument == document)
        return;
    mDocument = document;
    emit documentChanged(document);
}
