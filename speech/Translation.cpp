#include "speech/Translation.h"

#include "core/ProcessRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// The languages installed pairs translate English into, named in the window's language.
[[maybe_unused]] const char* const LanguageNames[] = {
    QT_TRANSLATE_NOOP("Translation", "Spanish"),
    QT_TRANSLATE_NOOP("Translation", "Catalan"),
    QT_TRANSLATE_NOOP("Translation", "Galician"),
    QT_TRANSLATE_NOOP("Translation", "Portuguese"),
    QT_TRANSLATE_NOOP("Translation", "Italian"),
    QT_TRANSLATE_NOOP("Translation", "French"),
    QT_TRANSLATE_NOOP("Translation", "Esperanto"),
    QT_TRANSLATE_NOOP("Translation", "Basque"),
    QT_TRANSLATE_NOOP("Translation", "Occitan"),
    QT_TRANSLATE_NOOP("Translation", "Aragonese"),
    QT_TRANSLATE_NOOP("Translation", "Asturian"),
    QT_TRANSLATE_NOOP("Translation", "Welsh"),
    QT_TRANSLATE_NOOP("Translation", "Irish"),
    QT_TRANSLATE_NOOP("Translation", "German"),
    QT_TRANSLATE_NOOP("Translation", "Dutch"),
    QT_TRANSLATE_NOOP("Translation", "Swedish"),
    QT_TRANSLATE_NOOP("Translation", "Danish"),
    QT_TRANSLATE_NOOP("Translation", "Icelandic"),
    QT_TRANSLATE_NOOP("Translation", "Norwegian Bokmal"),
    QT_TRANSLATE_NOOP("Translation", "Norwegian Nynorsk"),
    QT_TRANSLATE_NOOP("Translation", "Kazakh"),
    QT_TRANSLATE_NOOP("Translation", "Tatar"),
    QT_TRANSLATE_NOOP("Translation", "Breton"),
    QT_TRANSLATE_NOOP("Translation", "Romanian"),
    QT_TRANSLATE_NOOP("Translation", "Polish"),
    QT_TRANSLATE_NOOP("Translation", "Russian"),
};

// A word Apertium marked: '*' unknown, '@' untranslated, '#' not generated.
const QRegularExpression& markedWord()
{
    static const QRegularExpression pattern(QStringLiteral("(?<!\\w)[*@#](\\w[\\w'\u2019-]*)"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// "eng-spa", "en-gl" or "eng-cat_valencia": English into another language, as a variety when one is named.
std::optional<TranslationLanguage> languageOfMode(const QString& mode)
{
    const QStringList sides = mode.split(u'-');
    if (sides.size() != 2)
        return std::nullopt; // e.g. a pair's debugging modes, "eng-spa-tagger"
    const QString source = sides[0].section(u'_', 0, 0);
    if (source != QLatin1String("en") && source != QLatin1String("eng"))
        return std::nullopt;
    const QString code = sides[1].section(u'_', 0, 0);
    const QString variety = sides[1].section(u'_', 1);
    if (code.isEmpty())
        return std::nullopt;
    const QLocale::Language language = QLocale::codeToLanguage(code);
    if (language == QLocale::English)
        return std::nullopt; // "eng_US-eng": spelling, not translation
    TranslationLanguage result{mode, code, code};
    if (language != QLocale::AnyLanguage) {
        result.name =
            QCoreApplication::translate("Translation", QLocale::languageToString(language).toUtf8().constData());
        const QString shortCode = QLocale::languageToCode(language, QLocale::ISO639Part1);
        if (!shortCode.isEmpty())
            result.code = shortCode;
    }
    if (!variety.isEmpty())
        result.name += QStringLiteral(" (%1)").arg(variety);
    return result;
}

// Where a mode's program is: Apertium's own folder first, as its command does, then PATH.
QString findProgram(const QString& name)
{
    if (QFileInfo(name).isAbsolute())
        return QFileInfo(name).isExecutable() ? name : QString();
    const QString apertiumPath = qEnvironmentVariable("APERTIUM_PATH", QStringLiteral("/usr/bin"));
    const QString found = QStandardPaths::findExecutable(name, {apertiumPath});
    return found.isEmpty() ? QStandardPaths::findExecutable(name) : found;
}

} // namespace

QString TranslatedText::spoken() const
{
    QString plain = text;
    static const QRegularExpression mark(QStringLiteral("(?<!\\w)[*@#](?=\\w)"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    return plain.remove(mark);
}

QList<QStringList> ModePipeline(const QString& line)
{
    QList<QStringList> commands{QStringList()};
    QString word;
    bool inWord = false;
    QChar quote;
    const auto endWord = [&] {
        if (inWord)
            commands.last() << word;
        word.clear();
        inWord = false;
    };
    const qsizetype length = line.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else if (quote == u'"' && c == u'\\' && i + 1 < length)
                word += line[++i];
            else if (quote == u'"' && (c == u'$' || c == u'`'))
                return {};
            else
                word += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            inWord = true;
        } else if (c == u'\\' && i + 1 < length) {
            word += line[++i];
            inWord = true;
        } else if (c.isSpace()) {
            endWord();
        } else if (c == u'|') {
            endWord();
            if (commands.last().isEmpty())
                return {};
            commands << QStringList();
        } else if (c == u'$') {
            const bool alone = !inWord && i + 1 < length && (i + 2 == length || line[i + 2].isSpace());
            if (!alone || (line[i + 1] != u'1' && line[i + 1] != u'2'))
                return {};
            // $1 is how unknown words are shown: marked (-g), as the apertium command does by default.
            if (line[++i] == u'1')
                commands.last() << QStringLiteral("-g");
        } else if (QStringView(u";&<>()`{}").contains(c)) {
            return {};
        } else {
            word += c;
            inWord = true;
        }
    }
    endWord();
    if (!quote.isNull() || commands.last().isEmpty())
        return {};
    return commands;
}

Translator::Translator(QString modesFolder) : mModesFolder(std::move(modesFolder))
{
    if (mModesFolder.isEmpty())
        mModesFolder =
            qEnvironmentVariable("APERTIUM_DATADIR", QStringLiteral("/usr/share/apertium")) + QStringLiteral("/modes");
}

QList<TranslationLanguage> Translator::languages() const
{
    QList<TranslationLanguage> found;
    const QStringList modes = QDir(mModesFolder).entryList({QStringLiteral("*.mode")}, QDir::Files, QDir::Name);
    for (const QString& file : modes) {
        if (const auto language = languageOfMode(QFileInfo(file).completeBaseName()))
            found << *language;
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    return found;
}

std::optional<TranslationLanguage> Translator::language(const QString& mode) const
{
    if (!QFileInfo::exists(QDir(mModesFolder).filePath(mode + QStringLiteral(".mode"))))
        return std::nullopt;
    return languageOfMode(mode);
}

TranslatedText Translator::translate(const QString& text, const QString& mode, std::chrono::milliseconds limit) const
{
    const auto language = this->language(mode);
    if (!language)
        throw TranslationError(
            QCoreApplication::translate("Translation", "Parlivo cannot translate into this language: the Apertium pair "
                                                       "\"%1\" is not installed.")
                .arg(mode));
    if (text.size() > MaxTranslationLength)
        throw TranslationError(
            QCoreApplication::translate("Translation", "The text is too long to translate at once (more than 100,000 "
                                                       "characters). Choose a shorter passage."));
    if (text.trimmed().isEmpty())
        return {};

    QFile modeFile(QDir(mModesFolder).filePath(mode + QStringLiteral(".mode")));
    if (!modeFile.open(QIODevice::ReadOnly))
        throw TranslationError(QCoreApplication::translate("Translation", "The Apertium pair \"%1\" cannot be read: %2")
                                   .arg(mode, modeFile.errorString()));
    QList<QStringList> commands = ModePipeline(QString::fromUtf8(modeFile.readAll()).trimmed());
    if (commands.isEmpty())
        throw TranslationError(QCoreApplication::translate(
                                   "Translation", "The Apertium pair \"%1\" asks for a command Parlivo does not run.")
                                   .arg(mode));
    // Plain text is turned into Apertium's stream format and back around the pair's own programs.
    commands.prepend({QStringLiteral("apertium-destxt")});
    commands.append({QStringLiteral("apertium-retxt")});
    for (QStringList& command : commands) {
        const QString program = findProgram(command[0]);
        if (program.isEmpty())
            throw TranslationError(QCoreApplication::translate(
                                       "Translation", "The translator cannot start: its program %1 is not installed.")
                                       .arg(command[0]));
        command[0] = program;
    }

    // A NUL would end Apertium's input early.
    QString input = text;
    input.replace(QChar(0), u' ');
    const PipelineResult run = RunPipeline(commands, input.toUtf8(), limit);
    const QString program = QFileInfo(run.failed).fileName();
    if (!run.started)
        throw TranslationError(QCoreApplication::translate("Translation", "The translator could not start %1: %2")
                                   .arg(program, run.startError));
    if (run.timedOut)
        throw TranslationError(QCoreApplication::translate(
                                   "Translation", "The translator did not finish within %1 seconds (%2 did not answer) "
                                                  "and was stopped.")
                                   .arg(std::chrono::duration<double>(limit).count())
                                   .arg(program));
    if (run.outputTooLarge)
        throw TranslationError(
            QCoreApplication::translate("Translation", "The translator wrote more than %1 MB of text and was stopped.")
                .arg(DefaultOutputLimit / (1024 * 1024)));
    if (run.crashed)
        throw TranslationError(
            QCoreApplication::translate("Translation", "The translator stopped unexpectedly (%1 crashed).")
                .arg(program));
    if (run.exitCode != 0)
        throw TranslationError(
            QCoreApplication::translate("Translation", "The translator failed (%1 exited with code %2): %3")
                .arg(program)
                .arg(run.exitCode)
                .arg(run.errors.trimmed().section(u'\n', 0, 0)));

    TranslatedText translated;
    translated.text = QString::fromUtf8(run.output);
    if (!text.endsWith(u'\n') && translated.text.endsWith(u'\n'))
        translated.text.chop(1);
    for (const QRegularExpressionMatch& match : markedWord().globalMatch(translated.text))
        translated.unknownWords << match.captured(1);

    // Apertium marks nearly every word of a text in another language as unknown.
    static const QRegularExpression wordPattern(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
    qsizetype words = 0;
    for (auto it = wordPattern.globalMatch(translated.text); it.hasNext(); it.next())
        ++words;
    if (words >= 3 && translated.unknownWords.size() * 2 > words)
        throw TranslationError(QCoreApplication::translate(
                                   "Translation", "This text does not look like English, so it was not translated into "
                                                  "%1.")
                                   .arg(language->name));
    return translated;
}

std::optional<VoiceToken> VoiceForLanguage(const QList<VoiceToken>& voices, const QString& code)
{
    if (code.isEmpty())
        return std::nullopt;
    for (const bool exact : {true, false}) {
        for (const VoiceToken& voice : voices) {
            const QString language = voice.language.toLower();
            if (exact ? language == code.toLower() : language.startsWith(code.toLower() + u'-'))
                return voice;
        }
    }
    return std::nullopt;
}

void TranslationChoices::setLanguage(const QString& mode)
{
    if (mode == mLanguage)
        return;
    mLanguage = mode;
    emit languageChanged(mode);
}

void TranslationChoices::setWhileReading(bool on)
{
    if (on == mWhileReading)
        return;
    mWhileReading = on;
    emit whileReadingChanged(on);
}

BackgroundTranslation::BackgroundTranslation(const Translator& translator, QObject* parent)
    : QObject(parent), mTranslator(translator)
{
}

BackgroundTranslation::~BackgroundTranslation()
{
    mWaiting.reset();
    if (mRunning) {
        mRunning->wait(); // bounded by the translator's time limit
        delete mRunning;
    }
}

void BackgroundTranslation::request(int key, const QString& text, const QString& mode)
{
    if (mRunning)
        mWaiting = Job{key, text, mode};
    else
        start(Job{key, text, mode});
}

void BackgroundTranslation::start(const Job& job)
{
    auto result = std::make_shared<std::pair<TranslatedText, QString>>();
    mRunning = QThread::create([translator = mTranslator, job, result] {
        try {
            result->first = translator.translate(job.text, job.mode);
        } catch (const TranslationError& error) {
            result->second = error.message();
        }
    });
    connect(mRunning, &QThread::finished, this, [this, key = job.key, result] {
        mRunning->deleteLater();
        mRunning = nullptr;
        if (mWaiting)
            start(*std::exchange(mWaiting, std::nullopt));
        emit translated(key, result->first, result->second);
    });
    mRunning->start();
}
