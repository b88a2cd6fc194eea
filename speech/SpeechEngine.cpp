#include "speech/SpeechEngine.h"

#include "core/Errors.h"
#include "speech/WavFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

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
    QSaveFile file(path);
    // Unbuffered, every write reports what reached the disk (buffered, Qt 6.4 takes a short write for a whole one).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw SpeechError(QCoreApplication::translate("SpeechEngine", "Cannot create the sound file \"%1\": %2")
                              .arg(shown, file.errorString()));
    file.write(wavHeader(0));
    qint64 dataBytes = 0;
    auto write = [&](const QByteArray& pcm) {
        if (dataBytes + pcm.size() > MaxWavDataBytes)
            throw SpeechError(
                QCoreApplication::translate("SpeechEngine", "The speech is too long for the sound file \"%1\".")
                    .arg(shown));
        if (file.write(pcm) != pcm.size())
            throw SpeechError(QCoreApplication::translate("SpeechEngine", "Cannot write the sound file \"%1\": %2")
                                  .arg(shown, file.errorString()));
        dataBytes += pcm.size();
    };
    try {
        render(
            text, markup, write, [this](const SpeechEvent& event) { emit speechEvent(event); }, progress);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.seek(0) || file.write(wavHeader(dataBytes)) != 44 || !file.commit())
        throw SpeechError(QCoreApplication::translate("SpeechEngine", "Cannot write the sound file \"%1\": %2")
                              .arg(shown, file.errorString()));
}
