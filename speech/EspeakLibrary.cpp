#include "speech/EspeakLibrary.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <espeak-ng/speak_lib.h>

#include <cstring>
#include <exception>

// libespeak-ng 1.51 asks pcaudiolib for a playback device whenever it starts, even when, as here, it only hands its
// audio back: pcaudiolib then connects to the sound server to see whether it can play. Parlivo never lets espeak-ng
// play (its own output does, when speech is played at all), so this definition, which the program's own symbols
// put ahead of pcaudiolib's, answers "no device" as pcaudiolib does on a machine without sound. espeak-ng and
// pcaudiolib take a null device as no playback, and an export opens no connection to the sound server.
extern "C" struct audio_object* create_audio_device_object(const char*, const char*, const char*)
{
    return nullptr;
}

namespace {

std::mutex& libraryMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool initialised = false;
int owners = 0;
QString currentVoice;
int currentWordsPerMinute = 0;

// What the callback fills while espeak_Synth runs; only ever set inside a session.
struct CallbackContext
{
    Synthesis* out = nullptr;
    const std::function<bool()>* cancelled = nullptr;
    const std::function<void(const Synthesis&)>* grown = nullptr;
    std::exception_ptr error;
    bool stopped = false;
};
CallbackContext* activeContext = nullptr;

qint64 sampleAt(int milliseconds)
{
    return qint64(milliseconds) * EspeakSession::SampleRate / 1000;
}

// No exception may cross back into the C library: it is kept and rethrown once espeak_Synth has returned.
int synthCallback(short* wav, int count, espeak_EVENT* events)
{
    CallbackContext* context = activeContext;
    if (!context)
        return 1;
    try {
        const bool added = wav && count > 0;
        if (added)
            context->out->pcm.append(reinterpret_cast<const char*>(wav), qsizetype(count) * 2);
        for (espeak_EVENT* event = events; event && event->type != espeakEVENT_LIST_TERMINATED; ++event) {
            if (event->type == espeakEVENT_WORD) {
                context->out->words.push_back({event->text_position, event->length, sampleAt(event->audio_position)});
            } else if (event->type == espeakEVENT_PHONEME) {
                PhonemeMark phoneme;
                std::memcpy(phoneme.name.data(), event->id.string, 8);
                phoneme.sample = sampleAt(event->audio_position);
                context->out->phonemes.push_back(phoneme);
            }
        }
        if (added && *context->grown)
            (*context->grown)(*context->out);
        if (*context->cancelled && (*context->cancelled)()) {
            context->stopped = true;
            return 1;
        }
    } catch (...) {
        context->error = std::current_exception();
        return 1;
    }
    return 0;
}

} // namespace

void EspeakSession::start(const QString& dataPath)
{
    std::lock_guard guard(libraryMutex());
    // A data folder without the phoneme tables cannot speak, whether or not the library already runs.
    if (!dataPath.isEmpty() && !QFileInfo::exists(QDir(dataPath).filePath(QStringLiteral("espeak-ng-data/phontab"))))
        throw SpeechError(
            QCoreApplication::translate("EspeakLibrary",
                                        "The espeak-ng speech engine could not start: its data is missing from %1.")
                .arg(QDir::toNativeSeparators(dataPath)));
    if (initialised) {
        ++owners;
        return;
    }
    const QByteArray path = dataPath.toLocal8Bit();
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, path.isEmpty() ? nullptr : path.constData(),
                                       espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0)
        throw SpeechError(QCoreApplication::translate(
            "EspeakLibrary", "The espeak-ng speech engine could not start: its data is missing."));
    if (rate != SampleRate)
        throw SpeechError(QCoreApplication::translate("EspeakLibrary", "espeak-ng speaks at %1 Hz, not %2 Hz.")
                              .arg(rate)
                              .arg(SampleRate));
    espeak_SetSynthCallback(synthCallback);
    if (espeak_SetVoiceByName("en") != EE_OK)
        throw SpeechError(
            QCoreApplication::translate("EspeakLibrary", "The espeak-ng speech engine has no English voice."));
    currentVoice.clear();
    currentWordsPerMinute = espeakRATE_NORMAL;
    espeak_SetParameter(espeakRATE, currentWordsPerMinute, 0);
    initialised = true;
    owners = 1;
}

void EspeakSession::stop()
{
    // The library stays initialised: espeak-ng 1.51 deadlocks in espeak_Terminate once it has been started a
    // second time, and the process's end frees it anyway.
    std::lock_guard guard(libraryMutex());
    if (owners > 0)
        --owners;
}

EspeakSession::EspeakSession() : mLock(libraryMutex()) {}

EspeakSession::~EspeakSession() = default;

QList<EspeakVoiceEntry> EspeakSession::voices() const
{
    QList<EspeakVoiceEntry> entries;
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (int i = 0; list && list[i]; ++i) {
        const espeak_VOICE* voice = list[i];
        // `languages` is a list of (priority byte, zero-terminated code); the first code is the main one.
        const char* language = voice->languages && voice->languages[0] ? voice->languages + 1 : "";
        entries.append({QString::fromUtf8(voice->name ? voice->name : ""), QString::fromUtf8(language),
                        QString::fromUtf8(voice->identifier ? voice->identifier : "")});
    }
    return entries;
}

bool EspeakSession::setVoice(const QString& identifier)
{
    if (identifier == currentVoice)
        return true;
    const QByteArray name = identifier.isEmpty() ? QByteArrayLiteral("en") : identifier.toUtf8();
    if (espeak_SetVoiceByName(name.constData()) != EE_OK)
        return false;
    currentVoice = identifier;
    // A new voice starts at its own speed.
    espeak_SetParameter(espeakRATE, currentWordsPerMinute, 0);
    return true;
}

void EspeakSession::setWordsPerMinute(int wordsPerMinute)
{
    if (wordsPerMinute == currentWordsPerMinute)
        return;
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    currentWordsPerMinute = wordsPerMinute;
}

bool EspeakSession::synthesize(const QString& text, bool endPause, Synthesis& out,
                               const std::function<bool()>& cancelled,
                               const std::function<void(const Synthesis&)>& grown)
{
    const QByteArray utf8 = text.toUtf8();
    CallbackContext context;
    context.out = &out;
    context.cancelled = &cancelled;
    context.grown = &grown;
    activeContext = &context;
    const unsigned flags = espeakCHARS_UTF8 | (endPause ? espeakENDPAUSE : 0);
    const espeak_ERROR result =
        espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, flags, nullptr, nullptr);
    activeContext = nullptr;
    if (context.error)
        std::rethrow_exception(context.error);
    if (result != EE_OK && !context.stopped)
        throw SpeechError(QCoreApplication::translate("EspeakLibrary", "espeak-ng could not speak the text (error %1).")
                              .arg(int(result)));

    // The closing pause is the run of pause phonemes after the last sound.
    out.speechEnd = out.samples();
    for (auto phoneme = out.phonemes.rbegin(); phoneme != out.phonemes.rend() && phoneme->name[0] == '_'; ++phoneme)
        out.speechEnd = std::min(out.speechEnd, phoneme->sample);
    return !context.stopped;
}
