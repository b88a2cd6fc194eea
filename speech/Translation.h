#pragma once

#include "core/Errors.h"
#include "speech/Voice.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <chrono>
#include <memory>
#include <optional>

// Why a text could not be translated; the message is meant for the user.
class TranslationError : public ParlivoError
{
    using ParlivoError::ParlivoError;
};

// A language an installed Apertium pair translates English into.
struct TranslationLanguage
{
    QString mode; // the Apertium mode that translates into it, e.g. "eng-spa"; what the settings keep
    QString code; // its BCP 47 language, e.g. "es", for finding a voice that speaks it
    QString name; // e.g. "Spanish", or "Catalan (valencia)" for a variety
};

// A translation as Apertium gives it: words it does not know keep their marks (*word: not in its English
// dictionary, @word: no translation, #word: no form of it), so the learner sees them as such.
struct TranslatedText
{
    QString text;
    QStringList unknownWords; // the marked words, without their marks
    // The text without the marks, for the voice.
    QString spoken() const;
};

// The longest text translated at once (about a second's work); a longer one is refused with a message.
inline constexpr qsizetype MaxTranslationLength = 100000;

// Translates English text offline with the Apertium pairs installed, running the pipeline a pair's mode names
// program by program with argument vectors (never a shell), with a time limit.
class Translator
{
public:
    // `modesFolder` holds the pairs' *.mode files; by default $APERTIUM_DATADIR/modes or /usr/share/apertium/modes.
    explicit Translator(QString modesFolder = {});

    // The languages English is translated into, sorted by name.
    QList<TranslationLanguage> languages() const;
    std::optional<TranslationLanguage> language(const QString& mode) const;

    // Throws TranslationError: the pair is not installed, the text is too long or does not look like English, or
    // the translator fails, crashes or does not finish within `limit`.
    TranslatedText translate(const QString& text, const QString& mode,
                             std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

private:
    QString mModesFolder;
};

// The programs a mode's line runs, as argument vectors: the line is split at '|' and blanks outside quotes, "$1"
// becomes the generator's option that marks unknown words and "$2" (the tagger's option) nothing. Empty when the
// line uses other shell features (redirection, variables, command lists), which are not run.
QList<QStringList> ModePipeline(const QString& line);

// An installed voice that speaks this language (a BCP 47 tag such as "es"): one of exactly that language first, else
// one of a variety of it ("es-419").
std::optional<VoiceToken> VoiceForLanguage(const QList<VoiceToken>& voices, const QString& code);

// The learner's translation choices: their own language and whether each sentence read aloud is shown translated.
// The menus, the customisation dialog and the settings file read and change it.
class TranslationChoices : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The Apertium mode that translates into the learner's language; empty while none is chosen.
    QString language() const { return mLanguage; }
    void setLanguage(const QString& mode);
    bool whileReading() const { return mWhileReading; }
    void setWhileReading(bool on);

signals:
    void languageChanged(const QString& mode);
    void whileReadingChanged(bool on);

private:
    QString mLanguage;
    bool mWhileReading = false;
};

// Translates one text at a time on a thread of its own, so a reading goes on meanwhile. A request made while one
// runs waits, replacing any request still waiting before it. The destructor waits for the one running.
class BackgroundTranslation : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundTranslation(const Translator& translator, QObject* parent = nullptr);
    ~BackgroundTranslation() override;

    void request(int key, const QString& text, const QString& mode);

signals:
    // `error` is empty when the text was translated.
    void translated(int key, const TranslatedText& translation, const QString& error);

private:
    struct Job
    {
        int key = 0;
        QString text;
        QString mode;
    };
    void start(const Job& job);

    Translator mTranslator;
    QThread* mRunning = nullptr;
    std::optional<Job> mWaiting;
};
