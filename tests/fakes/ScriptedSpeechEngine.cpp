#include "fakes/ScriptedSpeechEngine.h"

#include "core/Errors.h"

#include <QFile>
#include <QTimer>

QList<EngineVoice> ScriptedSpeechEngine::voices()
{
    if (failVoices)
        throw SpeechError(QStringLiteral("No speech engine."));
    return installed;
}

void ScriptedSpeechEngine::setVoice(const QString& id)
{
    if (!failingVoice.isEmpty() && id == failingVoice)
        throw SpeechError(QStringLiteral("The voice %1 cannot start.").arg(id));
    voiceId = id;
}

int ScriptedSpeechEngine::speak(const QString& text, bool markup, bool purge)
{
    if (purge && speaking)
        postEnd(mStream);
    const int stream = ++mStream;
    spoken.append({text, markup, purge, stream, {}, voiceId});
    speaking = true;
    if (autoFinish) {
        speaking = false;
        postEnd(stream);
    }
    return stream;
}

void ScriptedSpeechEngine::postEnd(int stream)
{
    QTimer::singleShot(0, this, [this, stream] {
        SpeechEvent event;
        event.type = SpeechEvent::EndStream;
        event.stream = stream;
        emit speechEvent(event);
    });
}

int ScriptedSpeechEngine::skipAll()
{
    ++skips;
    if (speaking)
        finish();
    return 1;
}

void ScriptedSpeechEngine::render(const QString& text, bool markup,
                                  const std::function<void(const QByteArray& pcm)>& consume,
                                  const std::function<void(const SpeechEvent&)>&,
                                  const std::function<bool(double)>& progress)
{
    spoken.append({text, markup, true, ++mStream, QStringLiteral("-")});
    if (progress && !progress(1.0))
        throw SpeechError(QStringLiteral("Cancelled."));
    consume(QByteArray(4410, '\0'));
}

void ScriptedSpeechEngine::speakToFile(const QString& text, bool markup, const QString& path,
                                       const std::function<bool(double)>& progress)
{
    spoken.append({text, markup, true, ++mStream, path});
    if (progress && !progress(1.0))
        throw SpeechError(QStringLiteral("Cancelled."));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SpeechError(QStringLiteral("Cannot create %1").arg(path));
    file.write("RIFF");
}

void ScriptedSpeechEngine::word(int position, int length)
{
    send(SpeechEvent::Word, position, length);
}

void ScriptedSpeechEngine::sentence(int position, int length)
{
    send(SpeechEvent::Sentence, position, length);
}

void ScriptedSpeechEngine::viseme(int id)
{
    send(SpeechEvent::Viseme, 0, 0, id);
}

void ScriptedSpeechEngine::finish()
{
    speaking = false;
    send(SpeechEvent::EndStream);
}

QStringList ScriptedSpeechEngine::texts() const
{
    QStringList result;
    for (const Utterance& utterance : spoken)
        result << utterance.text;
    return result;
}

void ScriptedSpeechEngine::send(SpeechEvent::Type type, int position, int length, int viseme)
{
    SpeechEvent event;
    event.type = type;
    event.stream = mStream;
    event.position = position;
    event.length = length;
    event.viseme = viseme;
    emit speechEvent(event);
}
