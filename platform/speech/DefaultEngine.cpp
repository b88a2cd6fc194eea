// Placeholder until the espeak-ng engine lands; replaced by EspeakEngine.cpp.
#include "platform/Errors.h"
#include "platform/speech/SpeechEngine.h"

std::unique_ptr<SpeechEngine> createDefaultSpeechEngine()
{
    throw SpeechError(QStringLiteral("No speech engine is built in."));
}
