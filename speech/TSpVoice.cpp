#include "speech/TSpVoice.h"

#include "platform/Errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

void TSpFileStream::Open(const QString& path, int mode, bool doEvents)
{
    Q_UNUSED(doEvents);
    if (mode != 3)
        throw SpeechError(QStringLiteral("The speech file stream supports only creating a file for writing."));
    FPath = path;
    FOpen = true;
}

void TSpFileStream::Close()
{
    FOpen = false;
}

TSpVoice::TSpVoice(std::unique_ptr<SpeechEngine> engine, QObject* parent) : QObject(parent), FEngine(std::move(engine))
{
    connect(FEngine.get(), &SpeechEngine::speechEvent, this, &TSpVoice::deliver);
}

TSpVoice::~TSpVoice() = default;

void TSpVoice::SetVoice(const VoiceToken& token)
{
    FEngine->setVoice(token.id);
}

void TSpVoice::SetAudioOutputStream(TSpFileStream* stream)
{
    FOutput = stream;
}

void TSpVoice::SetRate(int rate)
{
    FRate = qBound(-10, rate, 10);
    FEngine->setRate(FRate);
}

void TSpVoice::SetVolume(int volume)
{
    FVolume = qBound(0, volume, 100);
    FEngine->setVolume(FVolume);
}

int TSpVoice::Speak(const QString& written, int flags)
{
    const bool markup = flags & SVSFIsXML;
    const bool purge = flags & SVSFPurgeBeforeSpeak;
    SpokenTextMap map;
    const QString text = FPronunciations.apply(written, markup, &map);
    if (FOutput) {
        if (!FOutput->isOpen())
            throw SpeechError(QStringLiteral("The speech file stream is not open."));
        FPaused = false;
        // A rendering into a file is not heard: its events must not move the reading area or the face.
        FRenderingToFile = true;
        try {
            FEngine->speakToFile(text, markup, FOutput->path(), FRenderProgress);
        } catch (...) {
            FRenderingToFile = false;
            throw;
        }
        FRenderingToFile = false;
        return 1;
    }
    if (purge)
        FPaused = false;
    const int stream = FEngine->speak(text, markup, purge);
    if (purge)
        FSupersededUpTo = stream - 1;
    if (!map.isEmpty())
        FSpokenMaps.insert(stream, map);
    if (!(flags & SVSFlagsAsync)) {
        while (!WaitUntilDone(50))
            QCoreApplication::processEvents();
    }
    return stream;
}

void TSpVoice::Pause()
{
    FEngine->pause();
    FPaused = true;
}

void TSpVoice::Resume()
{
    FEngine->resume();
    FPaused = false;
}

int TSpVoice::Skip(const QString& type, int count)
{
    if (type.compare(QLatin1String("Sentence"), Qt::CaseInsensitive) != 0)
        throw SpeechError(QStringLiteral("The voice can skip only sentences."));
    if (count <= 0)
        return 0;
    return FEngine->skipAll();
}

QList<VoiceToken> TSpVoice::GetVoices()
{
    QList<VoiceToken> tokens;
    for (const EngineVoice& voice : FEngine->voices())
        tokens.append({voice.id, voice.description, voice.language, voice.natural});
    return tokens;
}

bool TSpVoice::WaitUntilDone(int timeoutMs)
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

void TSpVoice::deliver(const SpeechEvent& heard)
{
    SpeechEvent event = heard;
    if (const auto map = FSpokenMaps.constFind(event.stream); map != FSpokenMaps.constEnd()) {
        std::tie(event.position, event.length) = map->toWritten(event.position, event.length);
        if (event.type == SpeechEvent::EndStream)
            FSpokenMaps.erase(map);
    }
    // What a purge cut off still ends, but that end belongs to no one listening any more.
    if (FRenderingToFile || event.stream <= FSupersededUpTo)
        return;
    emit OnEvent(event);
    switch (event.type) {
    case SpeechEvent::Word:
        emit OnWord(event.stream, event.audioPosition, event.position, event.length);
        break;
    case SpeechEvent::Sentence:
        emit OnSentence(event.stream, event.audioPosition, event.position, event.length);
        break;
    case SpeechEvent::Viseme:
        emit OnViseme(event.stream, event.audioPosition, event.duration, event.nextViseme, 0, event.viseme);
        break;
    case SpeechEvent::EndStream:
        emit OnEndStream(event.stream, event.audioPosition);
        break;
    case SpeechEvent::StartStream:
        break;
    }
}

void SpeakAndWait(TSpVoice& voice, const QString& text)
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
