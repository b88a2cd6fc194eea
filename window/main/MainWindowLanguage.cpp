// Matching the voice to the language: each paragraph is read by an installed voice of its language.
#include "window/main/MainWindow.h"
#include "core/Errors.h"
#include "speech/LanguageGuess.h"
#include "speech/VoiceChoices.h"

#include <QAction>
#include <QTextEdit>

void MainWindow::MatchVoiceToLanguage(bool on)
{
    mMatchLanguage = on;
    pummiMatchLanguage->setChecked(on);
}

QList<MainWindow::LanguageRun> MainWindow::languageRuns(const QString& text, int from)
{
    const QList<VoiceToken>& voices = mReading->voices();
    if (!mLanguageGuess) {
        QStringList languages;
        for (const VoiceToken& voice : voices)
            languages.append(voice.language);
        mLanguageGuess = std::make_unique<LanguageGuess>(languages);
    }
    const qsizetype chosenIndex = IndexOfVoice(voices, mReading->voice());
    const VoiceToken chosen = chosenIndex < 0 ? VoiceToken{} : voices.at(chosenIndex);
    // With no voice chosen the engine's default, English, reads.
    const QString chosenLanguage = chosen.language.isEmpty() ? QStringLiteral("en") : primaryLanguage(chosen.language);
    const auto voiceFor = [&](const QString& language) {
        if (language.isEmpty() || language == chosenLanguage)
            return chosen;
        for (const VoiceToken& voice : voices) {
            if (primaryLanguage(voice.language) == language)
                return voice;
        }
        return chosen;
    };

    QList<LanguageRun> runs;
    int start = from;
    while (start < text.size()) {
        int end = int(text.indexOf(QLatin1Char('\n'), start));
        end = end < 0 ? int(text.size()) : end + 1;
        const VoiceToken voice = voiceFor(mLanguageGuess->guess(QStringView(text).sliced(start, end - start)));
        if (!runs.isEmpty() && runs.last().voice.id == voice.id)
            runs.last().end = end;
        else
            runs.append({start, end, voice});
        start = end;
    }
    return runs;
}

void MainWindow::speakNextRun()
{
    const LanguageRun run = mRuns.takeFirst();
    try {
        spVoice->SetVoice(run.voice);
        mVoiceSwitched = true;
    } catch (const SpeechError&) {
        // A voice that cannot start leaves the stretch to the voice that was reading.
    }
    mFromCursor = true;
    mCursorOffset = run.start;
    spVoice->Speak(TextForVoice(reText->toPlainText().mid(run.start, run.end - run.start)), SpeakReading);
}

void MainWindow::restoreChosenVoice()
{
    if (!mVoiceSwitched)
        return;
    mVoiceSwitched = false;
    const qsizetype chosen = IndexOfVoice(mReading->voices(), mReading->voice());
    try {
        spVoice->SetVoice(chosen < 0 ? VoiceToken{} : mReading->voices().at(chosen));
    } catch (const SpeechError&) {
        // The chosen voice was reading a moment ago; if it cannot start now, the next choice will say so.
    }
}
