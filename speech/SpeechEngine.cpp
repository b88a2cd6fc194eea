#include "speech/SpeechEngine.h"

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "speech/WavFile.h"

#include <QCoreApplication>
#include <QDir>

std::optional<EngineVoice> FindVoiceIn(const QList<EngineVoice>& voices, const QString& descriptionOrId)
{
    for (const EngineVoice& voice : voices) {
        if (voice.description.compare(descriptionOrId, Qt::CaseInsensitive) == 0)
            return voice;
    }
    for (const EngineVoice& voice : voices) {
        if (voice.id == descriptionOrId)
            return voice;
    }
    return std::nullopt;
}

std::optional<EngineVoice> SpeechEngine::findVoice(const QString& descriptionOrId)
{
    return FindVoiceIn(voices(), descriptionOrId);
}

void SpeechEngine::speakToFile(const QString& text, bool markup, const QString& path,
                               const std::function<bool(double)>& progress)
{
    const QString shown = QDir::toNativeSeparators(path);
    AtomicFile file(path);
    if (!file.open())
        throw SpeechError(QCoreApplication::translate("SpeechEngine", "Cannot create the sound file \"%1\": %2")
                              .arg(shown, file.errorString()));
    auto cannotWrite = [&] {
        return SpeechError(QCoreApplication::translate("SpeechEngine", "Cannot write the sound file \"%1\": %2")
                               .arg(shown, file.errorString()));
    };
    if (!file.write(wavHeader(0)))
        throw cannotWrite();
    qint64 dataBytes = 0;
    auto write = [&](const QByteArray& pcm) {
        if (dataBytes + pcm.size() > MaxWavDataBytes)
            throw SpeechError(
                QCoreApplication::translate("SpeechEngine", "The speech is too long for the sound file \"%1\".")
                    .arg(shown));
        if (!file.write(pcm))
            throw cannotWrite();
        dataBytes += pcm.size();
    };
    try {
        render(
            text, markup, write, [this](const SpeechEvent& event) { emit speechEvent(event); }, progress);
    } catch (...) {
        file.cancel();
        throw;
    }
    if (!file.writeAt(0, wavHeader(dataBytes)) || !file.commit())
        throw cannotWrite();
}
