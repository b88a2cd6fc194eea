#include "cli/CliCommands.h"

#include "cli/CliFailure.h"
#include "cli/DocumentText.h"
#include "cli/EventLine.h"
#include "cli/ProgressBar.h"
#include "export/SpeechExport.h"
#include "cli/StopRequest.h"
#include "formats/DocumentFormats.h"
#include "formats/TextRecognition.h"
#include "core/TextRoutines.h"
#include "speech/Pronunciations.h"
#include "speech/ReadingModel.h"
#include "speech/Voice.h"
#include "speech/VoiceChoices.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>
#include <QThread>
#include <optional>

namespace {

// ".txt, .rtf, ... or .epub": every extension a document may have.
QString documentExtensions()
{
    QStringList extensions;
    for (const DocumentFormat& format : documentFormats())
        for (const QString& extension : format.extensions)
            extensions << QLatin1Char('.') + extension;
    const QString last = extensions.takeLast();
    return extensions.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

const QString Program = QStringLiteral("parlivo-cli");

const QString GeneralHelp = QStringLiteral(
    "Usage: parlivo-cli COMMAND [options] [arguments]\n"
    "Reads documents aloud and exports them as audio, as Parlivo does, from the command line.\n"
    "\n"
    "Commands:\n"
    "  voices   List the installed voices, one a line.\n"
    "  text     Print the text Parlivo reads from a document.\n"
    "  speak    Read a document (or standard input) aloud.\n"
    "  export   Save the speech of documents as MP3 or WAV files, with optional LRC and SRT subtitles.\n"
    "\n"
    "Run 'parlivo-cli COMMAND --help' for the options of a command.\n"
    "Exit codes: 0 done, 1 bad usage, 2 an input or output file cannot be used, 3 the speech engine or the\n"
    "encoder failed, or no sound device can be used to speak.\n");

struct Command
{
    QString name;
    QString description;
    QString arguments; // the positional part of the usage line
    bool voiceOptions = false;
};

const QList<Command> Commands{
    {QStringLiteral("voices"), QStringLiteral("Lists the installed voices, one description a line."), {}, false},
    {QStringLiteral("text"),
     QStringLiteral("Prints the text Parlivo reads from a document (.txt, .rtf, .htm, .html, .doc, .docx, .odt, .pdf, "
                    ".epub, or a picture: .png, .jpg, .tif, .bmp, .webp, .gif) as UTF-8, "
                    "followed by one line break; the text of pictures and scanned pages is recognised."),
     QStringLiteral("FILE"), false},
    {QStringLiteral("speak"),
     QStringLiteral("Reads a document aloud through the audio output; '-' reads plain text from standard input."),
     QStringLiteral("FILE|-"), true},
    {QStringLiteral("export"),
     QStringLiteral("Saves the speech of each document as an audio file. With several documents OUT is a folder "
                    "(made if missing) and each file is named after its document."),
     QStringLiteral("FILE..."), true},
};

// What the voice options asked for: a voice by its name, a speed and a volume as the reader's menus number them.
struct VoiceOptions
{
    QString voice;
    int speed = DefaultReadingSpeed;
    int volume = DefaultReadingVolume;
};

// A voice on the default engine with the model of what it is set to. No engine starts until a voice is listed
// or looked up, or speech is made.
struct CliReader
{
    Voice voice{createDefaultSpeechEngine()};
    ReadingModel model{voice};

    // Every installed voice; this starts every engine.
    const QList<VoiceToken>& installedVoices()
    {
        try {
            model.setVoices(voice.GetVoices());
        } catch (const ParlivoError& error) {
            throw CliFailure(ExitEngineFailure,
                             QStringLiteral("The speech engine cannot start: %1").arg(error.message()));
        }
        return model.voices();
    }
};

void write(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A whole number from 1 to 10, as the speed and volume menus offer.
int menuStep(const QCommandLineParser& parser, const QString& option, int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).trimmed().toInt(&ok);
    if (!ok || value < 1 || value > 10)
        throw CliFailure(
            ExitBadUsage,
            QStringLiteral("--%1 takes a whole number from 1 to 10, not \"%2\".").arg(option, parser.value(option)));
    return value;
}

// -j N: how many cores encode at once.
int jobCount(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("jobs")))
        return QThread::idealThreadCount();
    bool ok = false;
    const int value = parser.value(QStringLiteral("jobs")).trimmed().toInt(&ok);
    if (!ok || value < 1)
        throw CliFailure(ExitBadUsage, QStringLiteral("-j takes a whole number of 1 or more, not \"%1\".")
                                           .arg(parser.value(QStringLiteral("jobs"))));
    return value;
}

VoiceOptions voiceOptions(const QCommandLineParser& parser)
{
    return {parser.value(QStringLiteral("voice")), menuStep(parser, QStringLiteral("speed"), DefaultReadingSpeed),
            menuStep(parser, QStringLiteral("volume"), DefaultReadingVolume)};
}

// Sets the reader as the options ask; the voice is named by its description (in any letter case) or engine id.
// Only the engines that must be asked start: the default voice starts none here, and an espeak-ng voice leaves
// Festival alone.
void chooseVoiceOptions(CliReader& reader, const VoiceOptions& options)
{
    if (!options.voice.isEmpty()) {
        std::optional<VoiceToken> found;
        try {
            found = reader.voice.FindVoice(options.voice);
        } catch (const ParlivoError& error) {
            throw CliFailure(ExitEngineFailure,
                             QStringLiteral("The speech engine cannot start: %1").arg(error.message()));
        }
        if (!found)
            throw CliFailure(ExitBadUsage, QStringLiteral("There is no voice \"%1\"; 'parlivo-cli voices' lists the "
                                                          "installed voices.")
                                               .arg(options.voice));
        try {
            // The model offers the one voice the command line asked for.
            reader.model.setVoices({*found});
            reader.model.setVoice(found->description);
        } catch (const ParlivoError& error) {
            throw CliFailure(ExitEngineFailure, error.message());
        }
    }
    reader.model.setSpeed(options.speed);
    reader.model.setVolume(options.volume);
}

// The pronunciation list: --pronunciations FILE, or the user's own. Lines it cannot use are reported once.
void applyPronunciations(Voice& voice, const QCommandLineParser& parser, QIODevice& err)
{
    const QString path = parser.isSet(QStringLiteral("pronunciations")) ? parser.value(QStringLiteral("pronunciations"))
                                                                        : UserPronunciationsPath();
    if (parser.isSet(QStringLiteral("pronunciations")) && !QFileInfo(path).isReadable())
        throw CliFailure(ExitInputError,
                         QStringLiteral("%1: cannot read the pronunciation list").arg(displayPath(path)));
    PronunciationProblems problems;
    voice.SetPronunciations(PronunciationList::load(path, &problems));
    if (!problems.isEmpty())
        err.write(QStringLiteral("%1: %2: these lines are not \"written=spoken\" and were left out: %3\n")
                      .arg(Program, displayPath(path), problems.summary())
                      .toUtf8());
}

QString readableText(const QString& path, QIODevice& input)
{
    const QString text = path == QLatin1String("-") ? TextFromInput(input) : DocumentText(path);
    if (TrimControl(text).isEmpty())
        throw CliFailure(ExitInputError,
                         QStringLiteral("%1: there is no text to read")
                             .arg(path == QLatin1String("-") ? QStringLiteral("standard input") : displayPath(path)));
    return text;
}

int runVoices(CliStreams& streams)
{
    CliReader reader;
    for (const VoiceToken& token : reader.installedVoices())
        write(streams.out, token.description + QLatin1Char('\n'));
    return ExitSuccess;
}

int runText(const QStringList& files, bool article, CliStreams& streams)
{
    if (files.size() != 1)
        throw CliFailure(ExitBadUsage, QStringLiteral("text takes one document."));
    const QString text = article ? ArticleText(files.first()) : DocumentText(files.first());
    write(streams.out, text + QLatin1Char('\n'));
    return ExitSuccess;
}

int runSpeak(const QCommandLineParser& parser, CliStreams& streams)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        throw CliFailure(ExitBadUsage, QStringLiteral("speak takes one document, or '-' for standard input."));
    const VoiceOptions options = voiceOptions(parser);
    const QString text = readableText(files.first(), streams.in);

    CliReader reader;
    Voice& voice = reader.voice;
    chooseVoiceOptions(reader, options);
    applyPronunciations(voice, parser, streams.err);
    if (parser.isSet(QStringLiteral("events"))) {
        QObject::connect(&voice, &Voice::OnEvent,
                         [&streams](const SpeechEvent& event) { streams.out.write(EventJsonLine(event)); });
    }
    // Nothing heard is no reading: without a sound device the command fails, unless the user asked to read on
    // silently (the events still keep the speech's time).
    const bool silenceAllowed = parser.isSet(QStringLiteral("allow-silence"));
    bool deviceFailed = false;
    bool toldLost = false;
    QObject::connect(&voice.engine(), &SpeechEngine::soundLostChanged, &voice, [&](bool lost) {
        if (lost == std::exchange(toldLost, lost))
            return;
        if (!silenceAllowed) {
            if (lost && !deviceFailed) {
                deviceFailed = true;
                voice.SkipAll();
            }
            return;
        }
        write(streams.err, lost ? QStringLiteral("%1: warning: the sound device stopped playing; reading on "
                                                 "silently.\n")
                                      .arg(Program)
                                : QStringLiteral("%1: the sound device plays again.\n").arg(Program));
    });
    // Read as the reading area reads: paragraph breaks spoken as spaces, so positions stay those of the text.
    voice.Speak(TextForVoice(text), SpeakReading);
    toldLost = voice.engine().soundLost();
    if (toldLost) {
        if (!silenceAllowed) {
            voice.SkipAll();
            throw CliFailure(ExitEngineFailure, QStringLiteral("No sound device can be used, so nothing would be "
                                                               "heard. Start the sound server or connect a device, "
                                                               "or give --allow-silence to read silently."));
        }
        write(streams.err,
              QStringLiteral("%1: warning: no sound device can be used; reading silently.\n").arg(Program));
    }
    bool stopped = false;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (StopRequested() && !stopped) {
            stopped = true;
            voice.SkipAll();
        }
    } while (!voice.WaitUntilDone(10));
    // The events that came with the end of the speech.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (deviceFailed && !stopped)
        throw CliFailure(ExitEngineFailure, QStringLiteral("The sound device stopped playing in the middle of the "
                                                           "reading, so the rest would not be heard. Give "
                                                           "--allow-silence to read on silently."));
    return stopped ? StoppedExitCode() : ExitSuccess;
}

struct ExportJob
{
    QString input;
    ExportTarget target;
    QString text; // read when its turn comes
};

// Exports one document; a failure ends the command with the exit code of its kind.
void exportOrFail(Voice& voice, const ExportJob& job, AudioFormat format, const std::function<bool(double)>& progress)
{
    try {
        ExportSpeech(voice, job.text, format, job.target, QFileInfo(job.input).completeBaseName(), progress);
    } catch (const ExportError& error) {
        static constexpr ExitCode codes[] = {ExitInputError, ExitEngineFailure, ExitInterrupted};
        throw CliFailure(StopRequested() ? StoppedExitCode() : codes[int(error.kind())], error.message());
    }
}

// A target given as a folder: an existing folder, a name ending in a separator, or any name when several
// documents are exported.
bool namesFolder(const QString& path, bool several)
{
    return several || QFileInfo(path).isDir() || path.endsWith(QLatin1Char('/'));
}

QString inFolder(const QString& folder, const QString& input, const QString& extension)
{
    return QDir(folder).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + extension);
}

// The folders an export made, taken away again at its end when nothing was written into them (every document
// failed, or the export was stopped), so such an export leaves nothing behind.
struct MadeFolders
{
    QStringList paths;
    MadeFolders() = default;
    MadeFolders(const MadeFolders&) = delete;
    MadeFolders& operator=(const MadeFolders&) = delete;
    ~MadeFolders()
    {
        for (const QString& path : paths)
            QDir().rmdir(path); // only when empty
    }
};

void makeFolder(const QString& folder, MadeFolders& made)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder))
        throw CliFailure(ExitInputError, QStringLiteral("%1: cannot make the folder").arg(displayPath(folder)));
    made.paths.append(folder);
}

AudioFormat exportFormat(const QCommandLineParser& parser, const QString& out, bool folder)
{
    if (parser.isSet(QStringLiteral("format"))) {
        const QString format = parser.value(QStringLiteral("format")).toLower();
        if (format == QLatin1String("mp3"))
            return AudioFormat::Mp3;
        if (format == QLatin1String("wav"))
            return AudioFormat::Wav;
        throw CliFailure(
            ExitBadUsage,
            QStringLiteral("--format is mp3 or wav, not \"%1\".").arg(parser.value(QStringLiteral("format"))));
    }
    return !folder && QFileInfo(out).suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0
               ? AudioFormat::Wav
               : AudioFormat::Mp3;
}

int runExport(const QCommandLineParser& parser, CliStreams& streams)
{
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        throw CliFailure(ExitBadUsage, QStringLiteral("export needs at least one document."));
    const QString out = parser.value(QStringLiteral("output"));
    if (out.isEmpty())
        throw CliFailure(ExitBadUsage, QStringLiteral("export needs -o OUT: the audio file, or a folder."));
    if (files.contains(QStringLiteral("-")))
        throw CliFailure(ExitBadUsage, QStringLiteral("export reads documents, not standard input."));
    const bool several = files.size() > 1;
    if (several && QFileInfo(out).exists() && !QFileInfo(out).isDir())
        throw CliFailure(
            ExitBadUsage,
            QStringLiteral("With several documents -o names a folder; %1 is a file.").arg(displayPath(out)));
    const VoiceOptions options = voiceOptions(parser);
    const int cores = jobCount(parser);
    const bool outFolder = namesFolder(out, several);
    const AudioFormat format = exportFormat(parser, out, outFolder);
    const QString extension = format == AudioFormat::Mp3 ? QStringLiteral("mp3") : QStringLiteral("wav");
    const QString lrc = parser.value(QStringLiteral("lrc"));
    const QString srt = parser.value(QStringLiteral("srt"));

    // Two documents of the same name would overwrite each other's files.
    if (several) {
        QSet<QString> names;
        for (const QString& file : files) {
            const QString name = QFileInfo(file).completeBaseName();
            if (names.contains(name))
                throw CliFailure(ExitBadUsage,
                                 QStringLiteral("Two documents would both be saved as \"%1.%2\"; export them one at a "
                                                "time.")
                                     .arg(name, extension));
            names.insert(name);
        }
    }
    QList<ExportJob> jobs;
    for (const QString& file : files) {
        ExportJob job{file, {}, {}};
        job.target.audio = outFolder ? inFolder(out, file, extension) : out;
        if (!lrc.isEmpty())
            job.target.lrc = namesFolder(lrc, several) ? inFolder(lrc, file, QStringLiteral("lrc")) : lrc;
        if (!srt.isEmpty())
            job.target.srt = namesFolder(srt, several) ? inFolder(srt, file, QStringLiteral("srt")) : srt;
        // A run that resumes a batch leaves what an earlier run finished, its document not even read. An export is
        // whole or absent, but a file emptied or cut short by other means (a full disk while copying) is made again.
        if (parser.isSet(QStringLiteral("skip-existing")) && IsWholeExport(job.target, format)) {
            write(streams.err, QStringLiteral("%1: %2: skipped, %3 exists\n")
                                   .arg(Program, displayPath(file), displayPath(job.target.audio)));
            continue;
        }
        jobs.append(job);
    }
    if (jobs.isEmpty())
        return ExitSuccess;
    // A single document is read first, so a bad one leaves nothing made, not even the folder.
    if (!several)
        jobs.first().text = readableText(jobs.first().input, streams.in);

    MadeFolders made;
    if (outFolder)
        makeFolder(out, made);
    for (const QString& subtitles : {lrc, srt}) {
        if (!subtitles.isEmpty() && namesFolder(subtitles, several))
            makeFolder(subtitles, made);
    }

    // One voice renders the documents in turn; their encoding runs on every core (or as many as -j allows).
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    CliReader reader;
    chooseVoiceOptions(reader, options);
    applyPronunciations(reader.voice, parser, streams.err);
    TerminalProgress progress(streams.err, streams.errIsTerminal);
    // A document that fails is reported by name and the others go on; the exit code is the first failure's. Each
    // is read when its turn comes, so only one document's text is held at a time.
    int exitCode = ExitSuccess;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        ExportJob& job = jobs[i];
        const QString name = QFileInfo(job.input).fileName();
        progress.show(int(i + 1), int(jobs.size()), name, 0);
        try {
            if (job.text.isEmpty())
                job.text = readableText(job.input, streams.in);
        } catch (const CliFailure& failure) {
            progress.finish();
            if (failure.code() != ExitInputError)
                throw;
            write(streams.err, QStringLiteral("%1: %2\n").arg(Program, failure.message()));
            if (exitCode == ExitSuccess)
                exitCode = failure.code();
            continue;
        }
        try {
            exportOrFail(reader.voice, job, format, [&](double share) {
                progress.show(int(i + 1), int(jobs.size()), name, share);
                return !StopRequested();
            });
            job.text.clear();
        } catch (const CliFailure& failure) {
            job.text.clear();
            progress.finish();
            if (StopRequested())
                throw CliFailure(StoppedExitCode(),
                                 QStringLiteral("%1: interrupted").arg(displayPath(job.target.audio)));
            if (!several)
                throw;
            write(streams.err, QStringLiteral("%1: %2: %3\n").arg(Program, displayPath(job.input), failure.message()));
            if (exitCode == ExitSuccess)
                exitCode = failure.code();
            continue;
        }
        progress.show(int(i + 1), int(jobs.size()), name, 1);
    }
    progress.finish();
    return exitCode;
}

void addVoiceOptions(QCommandLineParser& parser, bool exporting)
{
    parser.addOption({QStringLiteral("voice"),
                      QStringLiteral("The voice, by its description as 'parlivo-cli voices' lists it."),
                      QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("pronunciations"),
                      QStringLiteral("The pronunciation list, lines of written=spoken (default: the user's own)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("speed"), QStringLiteral("Reading speed, 1 (slowest) to 10 (default 5)."),
                      QStringLiteral("1-10")});
    parser.addOption(
        {QStringLiteral("volume"), QStringLiteral("Reading volume, 1 to 10 (default 10)."), QStringLiteral("1-10")});
    if (!exporting) {
        parser.addOption({QStringLiteral("allow-silence"),
                          QStringLiteral("When no sound device can be used, or the one in use stops playing, read on "
                                         "silently in the speech's own time with a warning, instead of ending with "
                                         "exit code 3.")});
        parser.addOption({QStringLiteral("events"),
                          QStringLiteral("Print each word, sentence, viseme and end event as one line of JSON, "
                                         "with its place in the text and its time in ms.")});
        return;
    }
    parser.addOption({QStringLiteral("format"),
                      QStringLiteral("mp3 or wav (default: wav when OUT ends in .wav, else mp3)."),
                      QStringLiteral("mp3|wav")});
    parser.addOption({QStringLiteral("lrc"),
                      QStringLiteral("Also write LRC lyrics timed per sentence and per word (a folder with several "
                                     "documents)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("srt"),
                      QStringLiteral("Also write SRT subtitles timed per sentence (a folder with several documents)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("skip-existing"),
                      QStringLiteral("Leave a document whose audio file (and LRC and SRT files, when asked for) "
                                     "already exists whole, and say it was skipped: a batch that stopped resumes "
                                     "where it was. An empty or cut-off file is made again.")});
    parser.addOption({{QStringLiteral("j"), QStringLiteral("jobs")},
                      QStringLiteral("Encode on at most N cores at once (default: every core)."),
                      QStringLiteral("N")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("The audio file, or the folder for the audio files."),
                      QStringLiteral("OUT")});
}

QString commandHelp(const Command& command, const QCommandLineParser& parser)
{
    // The parser knows no commands: put the command's name into its usage line.
    QString help = parser.helpText();
    const qsizetype lineEnd = help.indexOf(QLatin1Char('\n'));
    QString usage = QStringLiteral("Usage: %1 %2 [options]").arg(Program, command.name);
    if (!command.arguments.isEmpty())
        usage += QLatin1Char(' ') + command.arguments;
    return usage + help.mid(lineEnd);
}

int runCommand(const Command& command, const QStringList& arguments, CliStreams& streams)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(command.description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show the options of this command."));
    parser.addOption(help);
    if (command.voiceOptions)
        addVoiceOptions(parser, command.name == QLatin1String("export"));
    const QCommandLineOption article(QStringLiteral("article"),
                                     QStringLiteral("For a saved web page: only its article, as \"Read web page\" "
                                                    "reads it (headings and paragraphs, without menus, notices "
                                                    "and footers)."));
    if (command.name == QLatin1String("text"))
        parser.addOption(article);
    const QCommandLineOption ocrLanguage(
        QStringLiteral("ocr-language"),
        QStringLiteral("The language of the text in pictures and scanned pages, as Tesseract names it (eng, fra, "
                       "eng+fra); default eng. Installed: %1.")
            .arg(recognitionLanguages().join(QStringLiteral(", "))),
        QStringLiteral("LANG"));
    if (command.name == QLatin1String("text") || command.name == QLatin1String("export"))
        parser.addOption(ocrLanguage);
    if (!command.arguments.isEmpty())
        parser.addPositionalArgument(command.arguments.section(QLatin1Char('|'), 0, 0).remove(QLatin1String("...")),
                                     command.name == QLatin1String("speak")
                                         ? QStringLiteral("The document, or '-' for plain text on standard input.")
                                         : QStringLiteral("The document: %1.").arg(documentExtensions()),
                                     command.arguments);

    if (!parser.parse(QStringList{Program} + arguments))
        throw CliFailure(ExitBadUsage, parser.errorText());
    if (parser.isSet(help)) {
        write(streams.out, commandHelp(command, parser));
        return ExitSuccess;
    }
    if (parser.isSet(ocrLanguage)) {
        const QString asked = parser.value(ocrLanguage);
        // Anything unknown, alone or in a list, would fall back to English, which the user did not ask for.
        const QString missing = missingRecognitionLanguage(asked);
        if (!missing.isEmpty())
            throw CliFailure(ExitBadUsage, QStringLiteral("--ocr-language: no recognition data for \"%1\" is installed "
                                                          "(installed: %2; Debian packages tesseract-ocr-LANG).")
                                               .arg(missing, recognitionLanguages().join(QStringLiteral(", "))));
        setRecognitionLanguage(asked);
    }
    if (command.name == QLatin1String("voices")) {
        if (!parser.positionalArguments().isEmpty())
            throw CliFailure(ExitBadUsage, QStringLiteral("voices takes no arguments."));
        return runVoices(streams);
    }
    if (command.name == QLatin1String("text"))
        return runText(parser.positionalArguments(), parser.isSet(article), streams);
    if (command.name == QLatin1String("speak"))
        return runSpeak(parser, streams);
    return runExport(parser, streams);
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : Commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

} // namespace

int RunCli(const QStringList& arguments, CliStreams& streams)
{
    const QString first = arguments.value(1);
    const Command* command = findCommand(first);
    try {
        if (first == QLatin1String("-h") || first == QLatin1String("--help") || first == QLatin1String("help")) {
            const Command* about = findCommand(arguments.value(2));
            if (about)
                return runCommand(*about, {QStringLiteral("--help")}, streams);
            write(streams.out, GeneralHelp);
            return ExitSuccess;
        }
        if (first == QLatin1String("--version")) {
            write(streams.out, QStringLiteral("%1 %2\n").arg(Program, QCoreApplication::applicationVersion()));
            return ExitSuccess;
        }
        if (!command) {
            write(streams.err, first.isEmpty() ? GeneralHelp
                                               : QStringLiteral("%1: unknown command \"%2\".\nRun '%1 --help' for "
                                                                "the commands.\n")
                                                     .arg(Program, first));
            return ExitBadUsage;
        }
        return runCommand(*command, arguments.mid(2), streams);
    } catch (const CliFailure& failure) {
        QString message = QStringLiteral("%1: %2\n").arg(Program, failure.message());
        if (failure.code() == ExitBadUsage && command)
            message += QStringLiteral("Run '%1 %2 --help' for its options.\n").arg(Program, command->name);
        write(streams.err, message);
        return failure.code();
    } catch (const ParlivoError& error) {
        write(streams.err, QStringLiteral("%1: %2\n").arg(Program, error.message()));
        return ExitEngineFailure;
    }
}
