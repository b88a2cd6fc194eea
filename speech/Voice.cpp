#include "speech/Voice.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

Voice::Voice(std::unique_ptr<SpeechEngine> engine, QObject* parent) : QObject(parent), FEngine(std::move(engine))
{
    connect(FEngine.get(), &SpeechEngine::speechEvent, this, &Voice::deliver);
}

Voice::~Voice() = default;

void Voice::SetVoice(const VoiceToken& token)
{
    FEngine->setVoice(token.id);
}

void Voice::SetRate(int rate)
{
    FRate = qBound(-10, rate, 10);
    FEngine->setRate(FRate);
}

void Voice::SetVolume(int volume)
{
    FVolume = qBound(0, volume, 100);
    FEngine->setVolume(FVolume);
}

int Voice::Speak(const QString& written, SpeakFlags flags)
{
    const bool markup = flags.testFlag(SpeakFlag::Markup);
    const bool purge = flags.testFlag(SpeakFlag::Purge);
    SpokenTextMap map;
    const QString text = FPronunciations.apply(written, markup, &map);
    const int stream = FEngine->speak(text, markup, purge);
    if (purge)
        FSupersededUpTo = stream - 1;
    if (!map.isEmpty())
        FSpokenMaps.insert(stream, map);
    if (!flags.testFlag(SpeakFlag::Async)) {
        while (!WaitUntilDone(50))
            QCoreApplication::processEvents();
    }
    return stream;
}

void Voice::Pause()
{
    FEngine->pause();
}

void Voice::Resume()
{
    FEngine->resume();
}

int Voice::SkipAll()
{
    return FEngine->skipAll();
}

QList<VoiceToken> Voice::GetVoices()
{
    QList<VoiceToken> tokens;
    for (const EngineVoice& voice : FEngine->voices())
        tokens.append({voice.id, voice.description, voice.language, voice.natural});
    return tokens;
}

std::optional<VoiceToken> Voice::FindVoice(const QString& descriptionOrId)
{
    const std::optional<EngineVoice> found = FEngine->findVoice(descriptionOrId);
    if (!found)
        return std::nullopt;
    return VoiceToken{found->id, found->description};
}

bool Voice::WaitUntilDone(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!FEngine->isDone()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}

void Voice::deliver(const SpeechEvent& heard)
{
    SpeechEvent event = heard;
    if (const auto map = FSpokenMaps.constFind(event.stream); map != FSpokenMaps.constEnd()) {
        std::tie(event.position, event.length) = map->toWritten(event.position, event.length);
        if (event.type == SpeechEvent::EndStream)
            FSpokenMaps.erase(map);
    }
    // What a purge cut off still ends, but that end belongs to no one listening any more.
    if (event.stream <= FSupersededUpTo)
        return;
    emit OnEvent(event);
    switch (event.type) {
    case SpeechEvent::Word:
        emit OnWord(event);
        break;
    case SpeechEvent::Sentence:
        emit OnSentence(event);
        break;
    case SpeechEvent::Viseme:
        emit OnViseme(event);
        break;
    case SpeechEvent::EndStream:
        emit OnEndStream(event);
        break;
    case SpeechEvent::StartStream:
        break;
    }
}

void SpeakAndWait(Voice& voice, const QString& text)
{
    voice.Speak(text, SpeakReading);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } while (!voice.WaitUntilDone(10));
    // Deliver the events that arrived with the end of the speech.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString TextForVoice(const QString& readingAreaText)
{
    QString text = readingAreaText;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
