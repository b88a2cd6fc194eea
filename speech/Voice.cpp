#include "speech/Voice.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

Voice::Voice(std::unique_ptr<SpeechEngine> engine, QObject* parent) : QObject(parent), mEngine(std::move(engine))
{
    connect(mEngine.get(), &SpeechEngine::speechEvent, this, &Voice::deliver);
}

Voice::~Voice() = default;

void Voice::SetVoice(const VoiceToken& token)
{
    mEngine->setVoice(token.id);
}

void Voice::SetRate(int rate)
{
    mRate = qBound(-10, rate, 10);
    mEngine->setRate(mRate);
}

void Voice::SetVolume(int volume)
{
    mVolume = qBound(0, volume, 100);
    mEngine->setVolume(mVolume);
}

int Voice::Speak(const QString& written, SpeakFlags flags)
{
    const bool markup = flags.testFlag(SpeakFlag::Markup);
    const bool purge = flags.testFlag(SpeakFlag::Purge);
    SpokenTextMap map;
    const QString text = mPronunciations.apply(written, markup, &map);
    const int stream = mEngine->speak(text, markup, purge);
    if (purge)
        mSupersededUpTo = stream - 1;
    if (!map.isEmpty())
        mSpokenMaps.insert(stream, map);
    if (!flags.testFlag(SpeakFlag::Async)) {
        while (!WaitUntilDone(50))
            QCoreApplication::processEvents();
    }
    return stream;
}

void Voice::Pause()
{
    mEngine->pause();
}

void Voice::Resume()
{
    mEngine->resume();
}

int Voice::SkipAll()
{
    return mEngine->skipAll();
}

QList<VoiceToken> Voice::GetVoices()
{
    QList<VoiceToken> tokens;
    for (const EngineVoice& voice : mEngine->voices())
        tokens.append({voice.id, voice.description, voice.language, voice.natural});
    return tokens;
}

std::optional<VoiceToken> Voice::FindVoice(const QString& descriptionOrId)
{
    const std::optional<EngineVoice> found = mEngine->findVoice(descriptionOrId);
    if (!found)
        return std::nullopt;
    return VoiceToken{found->id, found->description};
}

bool Voice::WaitUntilDone(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!mEngine->isDone()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(1);
    }
    return true;
}

void Voice::deliver(const SpeechEvent& heard)
{
    SpeechEvent event = heard;
    if (const auto map = mSpokenMaps.constFind(event.stream); map != mSpokenMaps.constEnd()) {
        std::tie(event.position, event.length) = map->toWritten(event.position, event.length);
        if (event.type == SpeechEvent::EndStream)
            mSpokenMaps.erase(map);
    }
    // What a purge cut off still ends, but that end belongs to no one listening any more.
    if (event.stream <= mSupersededUpTo)
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
