// Runs the built parlivo-cli with the real speech engine, encoder and word processor.
#include "support/NewsPages.h"
#include "support/SavedPages.h"
#include "support/PicturePages.h"
#include "support/SubtitleSound.h"
#include "formats/DocumentLoading.h"
#include "fakes/ScriptedPrompts.h"
#include "core/TextSegmentation.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QProcessEnvironment cliEnvironment(const QProcessEnvironment& extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Speech plays to a clock running fast, so reading aloud takes a moment and needs no sound device.
    environment.insert(QStringLiteral("PARLIVO_SPEECH_CLOCK"), QStringLiteral("40"));
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));
    return environment;
}

CliRun runCli(const QStringList& arguments, const QByteArray& input = {}, const QProcessEnvironment& extra = {})
{
    QProcess cli;
    cli.setProcessEnvironment(cliEnvironment(extra));
    cli.start(QStringLiteral(PARLIVO_CLI_PATH), arguments);
    cli.write(input);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(120'000)) << arguments.join(QLatin1Char(' ')).toStdString();
    CliRun run;
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = cli.readAllStandardOutput();
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Bytes with no structure at all, the same on every run.
QByteArray noise(qsizetype size)
{
    QRandomGenerator random(2024);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString loadedText(const QString& path)
{
    QTextDocument document;
    loadDocument(path, TextMode::Rich).document.putInto(&document);
    return document.toPlainText();
}

// Milliseconds of sound in a 22050 Hz mono 16-bit WAV file, after checking its header; -1 when it is not one.
qint64 wavMilliseconds(const QByteArray& wav)
{
    if (wav.size() < 44 || !wav.startsWith("RIFF") || wav.mid(8, 8) != "WAVEfmt ")
        return -1;
    auto number = [&wav](int at, int size) {
        qint64 value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value * 256 + quint8(wav[at + i]);
        return value;
    };
    if (number(20, 2) != 1 || number(22, 2) != 1 || number(24, 4) != 22050 || number(34, 2) != 16)
        return -1;
    const qsizetype data = wav.indexOf("data", 36);
    if (data < 0 || number(data + 4, 4) != wav.size() - data - 8)
        return -1;
    return number(data + 4, 4) * 1000 / 44100;
}

QList<QJsonObject> eventLines(const QByteArray& out)
{
    QList<QJsonObject> events;
    for (const QByteArray& line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        events << json.object();
    }
    return events;
}

// A command stopped by a signal: how it ended, and how long after the signal.
struct StoppedRun
{
    int exitCode = -1; // -1 when the signal itself ended it
    qint64 stopMs = -1;
    QString err;
};

// Starts parlivo-cli, sends it `signal` once `ready()` holds (looked at every 20 ms), and times its end.
StoppedRun stopCli(const QStringList& arguments, int signal, const std::function<bool()>& ready,
                   const QProcessEnvironment& extra = {})
{
    QProcess cli;
    cli.setProcessEnvironment(cliEnvironment(extra));
    cli.start(QStringLiteral(PARLIVO_CLI_PATH), arguments);
    StoppedRun run;
    QElapsedTimer waited;
    waited.start();
    while (!ready() && waited.elapsed() < 120'000 && !cli.waitForFinished(20)) {
    }
    if (cli.state() != QProcess::Running) {
        ADD_FAILURE() << "ended before the signal: " << cli.readAllStandardError().toStdString();
        return run;
    }
    ::kill(pid_t(cli.processId()), signal);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(cli.waitForFinished(60'000));
    run.stopMs = clock.elapsed();
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

// Within a second or two of the signal, on a loaded machine too; the code a shell gives a program the signal ended.
void expectStoppedAtOnce(const StoppedRun& run, int signal)
{
    EXPECT_EQ(run.exitCode, 128 + signal) << run.err.toStdString();
    EXPECT_LT(run.stopMs, 2500) << run.err.toStdString();
}

std::function<bool()> afterMs(qint64 ms)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    return [clock, ms] { return clock->elapsed() >= ms; };
}

// The processes, not yet ended, whose command line holds `text`.
QList<qint64> processesWith(const QString& text)
{
    QList<qint64> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        // An ended process that is not yet reaped has an empty command line.
        if (number && commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(text.toUtf8()))
            found << pid;
    }
    return found;
}

const QByteArray Story = "The fox ran home. It was late, and the night was cold!\r\n"
                         "Did the owl see it? Nobody knows.\r\n";

class CommandLine : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

} // namespace

using subtitles::farthestFromSound;
using subtitles::lrcTimes;
using subtitles::soundStarts;
using subtitles::srtCues;

TEST_F(CommandLine, TextIsWhatTheReadingAreaLoadsForEachDocumentType)
{
    writeFile(path(QStringLiteral("latin.txt")), "caf\xe9 cr\xe8me\r\nline two\rthree\n\nend");
    writeFile(path(QStringLiteral("page.HTML")), fixtures::shortSavedPage());
    writeFile(
        path(QStringLiteral("rich.rtf")),
        "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Hello \\b bold\\b0  w\\'f6rld.\\par Second \\u8364? line.\\par}");
    for (const QString& name : {QStringLiteral("latin.txt"), QStringLiteral("page.HTML"), QStringLiteral("rich.rtf")}) {
        const CliRun run = runCli({QStringLiteral("text"), path(name)});
        EXPECT_EQ(run.exitCode, 0) << name.toStdString() << run.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.out), loadedText(path(name)) + QLatin1Char('\n')) << name.toStdString();
    }
    EXPECT_TRUE(QString::fromUtf8(runCli({QStringLiteral("text"), path(QStringLiteral("latin.txt"))}).out)
                    .startsWith(QStringLiteral("café crème\nline two\nthree")));
    EXPECT_EQ(QString::fromUtf8(runCli({QStringLiteral("text"), path(QStringLiteral("page.HTML"))}).out),
              fixtures::shortSavedPageText() + QLatin1Char('\n'));
}

TEST_F(CommandLine, PicturesHaveTheirTextRecognisedInTheLanguageAsked)
{
    const QString page = path(QStringLiteral("page.png"));
    ASSERT_TRUE(pictures::typesetPage(pictures::Worksheet, 150).save(page));
    const CliRun run = runCli({QStringLiteral("text"), QStringLiteral("--ocr-language"), QStringLiteral("eng"), page});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_GE(pictures::wordSimilarity(pictures::sourceText(pictures::Worksheet), QString::fromUtf8(run.out)), 0.95)
        << run.out.toStdString();
    // A language that is not installed is refused alone or in a list, never read as English instead.
    for (const QString& asked : {QStringLiteral("xyz"), QStringLiteral("eng+xyz")}) {
        const CliRun unknown = runCli({QStringLiteral("text"), QStringLiteral("--ocr-language"), asked, page});
        EXPECT_EQ(unknown.exitCode, 1) << asked.toStdString();
        EXPECT_TRUE(unknown.err.contains(QLatin1String("no recognition data for \"xyz\"")))
            << unknown.err.toStdString();
        EXPECT_TRUE(unknown.out.isEmpty());
    }
}

TEST_F(CommandLine, ArticleGivesASavedPagesArticleOnly)
{
    writeFile(path(QStringLiteral("news.html")), fixtures::newsArticlePage());
    const CliRun run = runCli({QStringLiteral("text"), QStringLiteral("--article"), path(QStringLiteral("news.html"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out),
              fixtures::newsArticleParagraphs().join(QLatin1Char('\n')) + QLatin1Char('\n'));

    writeFile(path(QStringLiteral("blank.html")), "<html><body><nav> </nav></body></html>");
    const CliRun blank =
        runCli({QStringLiteral("text"), QStringLiteral("--article"), path(QStringLiteral("blank.html"))});
    EXPECT_EQ(blank.exitCode, 2);
    EXPECT_TRUE(blank.err.contains(QStringLiteral("no text to read"))) << blank.err.toStdString();
    EXPECT_TRUE(blank.out.isEmpty());

    writeFile(path(QStringLiteral("story.txt")), Story);
    EXPECT_EQ(runCli({QStringLiteral("text"), QStringLiteral("--article"), path(QStringLiteral("story.txt"))}).exitCode,
              1);
}

TEST_F(CommandLine, WordDocumentsGoThroughTheWordProcessor)
{
    // A .docx or .odt that is no zip package, or a .doc that is no Word file, is damaged, and never read as text by
    // the word processor's fallback.
    for (const QString& name : {QStringLiteral("essay.docx"), QStringLiteral("notes.odt"), QStringLiteral("old.doc")}) {
        writeFile(path(name), noise(20'000));
        const CliRun damaged = runCli({QStringLiteral("text"), path(name)});
        EXPECT_EQ(damaged.exitCode, 2) << name.toStdString();
        EXPECT_TRUE(damaged.err.contains(QStringLiteral("\"%1\" is damaged or is not").arg(name)))
            << damaged.err.toStdString();
        EXPECT_TRUE(damaged.out.isEmpty()) << name.toStdString();
    }

    writeFile(path(QStringLiteral("memo.doc")), "any bytes");
    QProcessEnvironment noWordProcessor;
    noWordProcessor.insert(QStringLiteral("PATH"), path(QStringLiteral("empty")));
    const CliRun missing = runCli({QStringLiteral("text"), path(QStringLiteral("memo.doc"))}, {}, noWordProcessor);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.contains(path(QStringLiteral("memo.doc")) + QStringLiteral(": cannot be converted")))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());

    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    writeFile(path(QStringLiteral("letter.txt")), "Dear reader,\nthis came from a word processor.\n");
    QProcess convert;
    convert.start(soffice, {QStringLiteral("--headless"),
                            QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profile")),
                            QStringLiteral("--convert-to"), QStringLiteral("doc"), QStringLiteral("--outdir"),
                            folder.path(), path(QStringLiteral("letter.txt"))});
    ASSERT_TRUE(convert.waitForFinished(60'000));
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("letter.doc"))));

    const CliRun run = runCli({QStringLiteral("text"), path(QStringLiteral("letter.doc"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), loadedText(path(QStringLiteral("letter.doc"))) + QLatin1Char('\n'));
    EXPECT_TRUE(run.out.contains("this came from a word processor.")) << run.out.toStdString();
}

TEST_F(CommandLine, SpokenEventsSelectTheWordsOfTheTextAsRead)
{
    writeFile(path(QStringLiteral("story.txt")), Story);
    const QString text = QString::fromUtf8(runCli({QStringLiteral("text"), path(QStringLiteral("story.txt"))}).out);
    const QList<TextSpan> words = findWords(text);

    // From a file and from standard input alike.
    for (const QString& source : {path(QStringLiteral("story.txt")), QStringLiteral("-")}) {
        const CliRun run = runCli({QStringLiteral("speak"), QStringLiteral("--events"), QStringLiteral("--speed"),
                                   QStringLiteral("8"), source},
                                  source == QLatin1String("-") ? Story : QByteArray());
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QList<QJsonObject> events = eventLines(run.out);
        ASSERT_FALSE(events.isEmpty());
        EXPECT_EQ(events.last().value(QStringLiteral("type")).toString(), QStringLiteral("end"));
        qint64 last = 0;
        int spokenWords = 0;
        int sentences = 0;
        for (const QJsonObject& event : events) {
            const qint64 ms = event.value(QStringLiteral("ms")).toInteger();
            EXPECT_GE(ms, last) << "events come in the order of the audio";
            last = ms;
            const QString type = event.value(QStringLiteral("type")).toString();
            if (type == QLatin1String("sentence"))
                ++sentences;
            if (type != QLatin1String("word"))
                continue;
            const TextSpan span{event.value(QStringLiteral("pos")).toInt(), event.value(QStringLiteral("len")).toInt()};
            EXPECT_TRUE(words.contains(span))
                << "\"" << text.mid(span.start, span.length).toStdString() << "\" is not a word of the text";
            ++spokenWords;
        }
        EXPECT_GE(spokenWords, int(words.size()) - 2);
        EXPECT_EQ(sentences, 4);
    }
}

TEST_F(CommandLine, EventsReachAPipeAsTheirSoundIsHeard)
{
    writeFile(path(QStringLiteral("story.txt")), Story);
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The clock at real time, whatever sound device there is: the reading lasts a few seconds.
    environment.insert(QStringLiteral("PARLIVO_SPEECH_CLOCK"), QStringLiteral("1"));
    cli.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral(PARLIVO_CLI_PATH),
              {QStringLiteral("speak"), QStringLiteral("--events"), path(QStringLiteral("story.txt"))});
    ASSERT_TRUE(cli.waitForStarted());

    // Each line with the time it came through the pipe.
    QList<std::pair<qint64, QJsonObject>> lines;
    QByteArray pending;
    auto take = [&] {
        pending += cli.readAllStandardOutput();
        const qint64 now = clock.elapsed();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            lines.append({now, QJsonDocument::fromJson(pending.left(end)).object()});
    };
    while (cli.state() != QProcess::NotRunning && clock.elapsed() < 120'000) {
        cli.waitForReadyRead(20);
        take();
    }
    ASSERT_EQ(cli.state(), QProcess::NotRunning);
    const qint64 ended = clock.elapsed();
    take();
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    ASSERT_GT(lines.size(), 10);
    const qint64 readingMs = lines.last().second.value(QStringLiteral("ms")).toInteger();
    ASSERT_GT(readingMs, 2000) << "a reading of a few seconds";

    // Every line comes some time after its sound starts: the least of those delays is when the sound began.
    qint64 soundStarted = ended;
    for (const auto& [arrived, event] : lines)
        soundStarted = std::min(soundStarted, arrived - event.value(QStringLiteral("ms")).toInteger());
    const auto firstWord = std::find_if(lines.begin(), lines.end(), [](const auto& line) {
        return line.second.value(QStringLiteral("type")).toString() == QLatin1String("word");
    });
    ASSERT_NE(firstWord, lines.end());
    EXPECT_LT(firstWord->first, ended - readingMs / 2) << "the first word is told while the reading goes on";
    EXPECT_LT(firstWord->first - soundStarted - firstWord->second.value(QStringLiteral("ms")).toInteger(), 100)
        << "the first word is told with its sound";
}

TEST_F(CommandLine, ExportGivesAudioAsLongAsTheSpeechWithSubtitlesInsideIt)
{
    writeFile(path(QStringLiteral("story.txt")), Story);
    const CliRun wav = runCli({QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("story.wav")),
                               QStringLiteral("--srt"), path(QStringLiteral("story.srt")), QStringLiteral("--lrc"),
                               path(QStringLiteral("story.lrc")), path(QStringLiteral("story.txt"))});
    ASSERT_EQ(wav.exitCode, 0) << wav.err.toStdString();
    EXPECT_TRUE(wav.err.isEmpty()) << "no progress bar when standard error is no terminal: " << wav.err.toStdString();
    const qint64 duration = wavMilliseconds(readFile(path(QStringLiteral("story.wav"))));
    ASSERT_GT(duration, 2000) << "a valid WAV file of the speech";

    const QList<std::pair<qint64, qint64>> cues =
        srtCues(QString::fromUtf8(readFile(path(QStringLiteral("story.srt")))));
    ASSERT_EQ(cues.size(), 4);
    EXPECT_EQ(cues.first().first, 0);
    EXPECT_NEAR(double(cues.last().second), double(duration), 2.0) << "the last cue ends with the audio";
    for (qsizetype i = 0; i < cues.size(); ++i) {
        EXPECT_LT(cues[i].first, cues[i].second);
        if (i > 0) {
            EXPECT_GE(cues[i].first, cues[i - 1].second);
        }
    }
    const QString lrc = QString::fromUtf8(readFile(path(QStringLiteral("story.lrc"))));
    EXPECT_EQ(lrc.count(QLatin1Char('\n')), 5) << "a title and one line a sentence: " << lrc.toStdString();
    const QList<qint64> times = lrcTimes(lrc);
    EXPECT_GT(times.size(), 20) << "sentences and words are timed";
    for (qsizetype i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i], times[i - 1]);
    EXPECT_LE(times.last(), duration);

    // The MP3 of the same text decodes to the same length, give or take the encoder's frame padding.
    const CliRun mp3 = runCli({QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("story.mp3")),
                               path(QStringLiteral("story.txt"))});
    ASSERT_EQ(mp3.exitCode, 0) << mp3.err.toStdString();
    EXPECT_TRUE(readFile(path(QStringLiteral("story.mp3"))).startsWith("ID3") ||
                quint8(readFile(path(QStringLiteral("story.mp3"))).at(0)) == 0xFF);
    QProcess decode;
    decode.start(QStringLiteral("lame"),
                 {QStringLiteral("--decode"), path(QStringLiteral("story.mp3")), path(QStringLiteral("decoded.wav"))});
    ASSERT_TRUE(decode.waitForFinished(60'000));
    QByteArray decoded = readFile(path(QStringLiteral("decoded.wav")));
    ASSERT_GT(decoded.size(), 44);
    const qint64 decodedMs = (decoded.size() - 44) * 1000 / 44100;
    EXPECT_NEAR(double(decodedMs), double(duration), 100.0);
    QFile::remove(path(QStringLiteral("decoded.wav")));

    EXPECT_EQ(files(),
              (QStringList{QStringLiteral("story.lrc"), QStringLiteral("story.mp3"), QStringLiteral("story.srt"),
                           QStringLiteral("story.txt"), QStringLiteral("story.wav")}))
        << "no temporary file stays behind";
}

TEST_F(CommandLine, SeveralDocumentsGoToAFolderOneFileEach)
{
    writeFile(path(QStringLiteral("one.txt")), "First document.");
    writeFile(path(QStringLiteral("two.v2.htm")), "<p>Second document.</p>");
    const CliRun run =
        runCli({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("wav"), QStringLiteral("-o"),
                path(QStringLiteral("out")), QStringLiteral("--srt"), path(QStringLiteral("subs")),
                path(QStringLiteral("one.txt")), path(QStringLiteral("two.v2.htm"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("one.wav"), QStringLiteral("two.v2.wav")}));
    EXPECT_EQ(QDir(path(QStringLiteral("subs"))).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("one.srt"), QStringLiteral("two.v2.srt")}));
    EXPECT_TRUE(readFile(path(QStringLiteral("subs/two.v2.srt"))).contains("Second document."));
}

TEST_F(CommandLine, BadUsageEndsWithOneAndSaysWhy)
{
    writeFile(path(QStringLiteral("a.txt")), "Some words.");
    QDir().mkpath(path(QStringLiteral("x")));
    writeFile(path(QStringLiteral("x/a.txt")), "Other words.");
    const struct
    {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{}, "Usage"},
        {{QStringLiteral("read")}, "unknown command \"read\""},
        {{QStringLiteral("speak"), QStringLiteral("--loud"), path(QStringLiteral("a.txt"))}, "loud"},
        {{QStringLiteral("speak"), QStringLiteral("--speed"), QStringLiteral("11"), path(QStringLiteral("a.txt"))},
         "--speed takes a whole number from 1 to 10"},
        {{QStringLiteral("speak"), QStringLiteral("--voice"), QStringLiteral("Nobody At All"),
          path(QStringLiteral("a.txt"))},
         "There is no voice \"Nobody At All\""},
        {{QStringLiteral("export"), path(QStringLiteral("a.txt"))}, "-o OUT"},
        {{QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("ogg"), QStringLiteral("-o"),
          path(QStringLiteral("a.ogg")), path(QStringLiteral("a.txt"))},
         "--format is mp3 or wav"},
        {{QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("out")), path(QStringLiteral("a.txt")),
          path(QStringLiteral("x/a.txt"))},
         "would both be saved as \"a.mp3\""},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out"))));

    const CliRun help = runCli({QStringLiteral("speak"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: parlivo-cli speak [options] FILE|-")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--events"));
}

TEST_F(CommandLine, InputErrorsEndWithTwoNamingTheFileAndWriteNothing)
{
    writeFile(path(QStringLiteral("blank.txt")), " \r\n\t\r\n");
    writeFile(path(QStringLiteral("good.txt")), "Fine words.");
    const CliRun missing = runCli({QStringLiteral("text"), path(QStringLiteral("gone.txt"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(path(QStringLiteral("gone.txt")) + QStringLiteral(": no such file")))
        << missing.err.toStdString();

    const CliRun blank = runCli({QStringLiteral("speak"), path(QStringLiteral("blank.txt"))});
    EXPECT_EQ(blank.exitCode, 2);
    EXPECT_TRUE(blank.err.contains(QStringLiteral("there is no text to read")));

    // What is wrong with a name is said as it is: a loop of links, a name that is not UTF-8 text.
    ASSERT_TRUE(QFile::link(path(QStringLiteral("loop")), path(QStringLiteral("loop"))));
    const CliRun loop = runCli({QStringLiteral("text"), path(QStringLiteral("loop"))});
    EXPECT_EQ(loop.exitCode, 2);
    EXPECT_TRUE(loop.err.contains(QStringLiteral("loop: too many levels of symbolic links"))) << loop.err.toStdString();
    const QByteArray latin1Name = QFile::encodeName(folder.path()) + "/caf\xe9.txt";
    const int latin1 = ::open(latin1Name.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(latin1, 0);
    ::close(latin1);
    // The shell's pattern hands the name over byte for byte, as a user's shell does.
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" text \"$1\"/caf*.txt"),
                                       QStringLiteral(PARLIVO_CLI_PATH), folder.path()});
    ASSERT_TRUE(shell.waitForFinished(60'000));
    EXPECT_EQ(shell.exitCode(), 2);
    EXPECT_TRUE(shell.readAllStandardError().contains("its name is not valid UTF-8"));
    ::unlink(latin1Name.constData());

    // A bad document in a batch is named, and the others are still exported.
    const CliRun batch = runCli({QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("out")),
                                 path(QStringLiteral("gone.txt")), path(QStringLiteral("good.txt"))});
    EXPECT_EQ(batch.exitCode, 2);
    EXPECT_TRUE(batch.err.contains(QStringLiteral("gone.txt: no such file"))) << batch.err.toStdString();
    EXPECT_TRUE(readFile(path(QStringLiteral("out/good.mp3"))).startsWith("\xFF"));

    const CliRun nowhere = runCli({QStringLiteral("export"), QStringLiteral("-o"),
                                   path(QStringLiteral("no/such/folder/a.wav")), path(QStringLiteral("good.txt"))});
    EXPECT_EQ(nowhere.exitCode, 2);
    EXPECT_TRUE(nowhere.err.contains(QStringLiteral("the folder does not exist"))) << nowhere.err.toStdString();
}

TEST_F(CommandLine, APipeOrADeviceAtAnOutputNameIsRefusedAndLeftAsItIs)
{
    writeFile(path(QStringLiteral("a.txt")), "Some words to say.");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.mp3"))).constData(), 0644), 0);
    // A device node of our own in the test's folder, never one of the system's (it is the kind /dev/null is).
    const bool device =
        ::mknod(QFile::encodeName(path(QStringLiteral("device.srt"))).constData(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    const QList<QStringList> cases{
        {QStringLiteral("-o"), path(QStringLiteral("pipe.mp3"))},
        {QStringLiteral("-o"), path(QStringLiteral("a.wav")), QStringLiteral("--lrc"),
         path(QStringLiteral("pipe.mp3"))},
        {QStringLiteral("-o"), path(QStringLiteral("a.wav")), QStringLiteral("--srt"),
         path(QStringLiteral("device.srt"))},
    };
    for (const QStringList& options : cases.mid(0, device ? 3 : 2)) {
        const CliRun run =
            runCli(QStringList{QStringLiteral("export")} + options + QStringList{path(QStringLiteral("a.txt"))});
        EXPECT_EQ(run.exitCode, 2) << options.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("is not a regular file"))) << run.err.toStdString();
    }
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("pipe.mp3"))).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe is still a pipe";
    if (!device)
        GTEST_SKIP() << "no rights to make a device node";
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("device.srt"))).constData(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << "the device is still a device";
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.wav"))));
}

TEST_F(CommandLine, SkipExistingMakesAnEmptyOrCutOffExportAgain)
{
    writeFile(path(QStringLiteral("a.txt")), "A short chapter. It ends here.");
    for (const char* extension : {"mp3", "wav"}) {
        SCOPED_TRACE(extension);
        const QString audio = path(QStringLiteral("a.") + QLatin1String(extension));
        const QStringList export_{QStringLiteral("export"), QStringLiteral("--skip-existing"), QStringLiteral("-o"),
                                  audio, path(QStringLiteral("a.txt"))};
        ASSERT_EQ(runCli(export_).exitCode, 0);
        const QByteArray whole = readFile(audio);
        EXPECT_TRUE(runCli(export_).err.contains(QStringLiteral("skipped"))) << "a whole export is left";
        for (const QByteArray& broken : {QByteArray(), whole.left(whole.size() * 2 / 3)}) {
            writeFile(audio, broken);
            const CliRun again = runCli(export_);
            EXPECT_EQ(again.exitCode, 0);
            EXPECT_FALSE(again.err.contains(QStringLiteral("skipped"))) << broken.size() << " bytes were taken as done";
            EXPECT_EQ(readFile(audio), whole);
        }
    }
}

TEST_F(CommandLine, AFullDiskIsSaidToBeFull)
{
    writeFile(path(QStringLiteral("a.txt")), QByteArray("Every learner reads this line aloud. ").repeated(100));
    // A small disk of its own, in a namespace where this user may mount one.
    if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("true")}) != 0)
        GTEST_SKIP() << "no mount namespace can be made here";
    QDir().mkpath(path(QStringLiteral("disk")));
    QProcess shell;
    shell.start(
        QStringLiteral("unshare"),
        {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral("mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 99; exec \"$0\" export -o \"$1\"/a.mp3 "
                        "\"$2\""),
         QStringLiteral(PARLIVO_CLI_PATH), folder.path() + QStringLiteral("/disk"), path(QStringLiteral("a.txt"))});
    ASSERT_TRUE(shell.waitForFinished(120'000));
    if (shell.exitCode() == 99)
        GTEST_SKIP() << "no small disk can be mounted here";
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_EQ(shell.exitCode(), 2) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("a.mp3: cannot write: the disk is full"))) << err.toStdString();
}

TEST_F(CommandLine, ABatchGoesOnPastADocumentThatFailsAndNamesIt)
{
    for (const char* name : {"a", "b", "c"})
        writeFile(path(QStringLiteral("%1.txt").arg(QLatin1String(name))), "Some words to say. And a few more.");
    // The second document's MP3 cannot be written: a folder has its name.
    QDir().mkpath(path(QStringLiteral("out/b.mp3")));
    const CliRun run = runCli({QStringLiteral("export"), QStringLiteral("-j"), QStringLiteral("2"),
                               QStringLiteral("-o"), path(QStringLiteral("out")), path(QStringLiteral("a.txt")),
                               path(QStringLiteral("b.txt")), path(QStringLiteral("c.txt"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("b.txt"))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << "one message, for the one document: " << run.err.toStdString();
    for (const char* name : {"a.mp3", "c.mp3"})
        EXPECT_TRUE(readFile(path(QStringLiteral("out/%1").arg(QLatin1String(name)))).startsWith("\xFF")) << name;
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("a.mp3"), QStringLiteral("c.mp3")}))
        << "no temporary file stays behind";
}

TEST_F(CommandLine, SigintOrSigtermStopsSpeechAndAnExportAtOnceLeavingNothingBehind)
{
    QByteArray words;
    for (int i = 0; i < 1500; ++i)
        words += "Every learner reads this line aloud. ";
    writeFile(path(QStringLiteral("long.txt")), words);
    writeFile(path(QStringLiteral("long.mp3")), "older export");

    // Early, as the speech is rendered, and later, as the last of it is encoded.
    for (const auto& [signal, delay] : {std::pair{SIGINT, 1000}, std::pair{SIGTERM, 4000}}) {
        SCOPED_TRACE(signal);
        const StoppedRun run =
            stopCli({QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("long.mp3")),
                     QStringLiteral("--srt"), path(QStringLiteral("long.srt")), path(QStringLiteral("long.txt"))},
                    signal, afterMs(delay));
        expectStoppedAtOnce(run, signal);
        EXPECT_EQ(readFile(path(QStringLiteral("long.mp3"))), "older export");
        EXPECT_EQ(files(), (QStringList{QStringLiteral("long.mp3"), QStringLiteral("long.txt")}));
    }
    expectStoppedAtOnce(stopCli({QStringLiteral("speak"), path(QStringLiteral("long.txt"))}, SIGTERM, afterMs(1000)),
                        SIGTERM);
}

TEST_F(CommandLine, ReadingAScanOfManyPagesStopsAtOnceOnSigintOrSigterm)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick is not installed to make a TIFF of many pages";
    // Forty scanned pages, as a PDF of page pictures and as a TIFF.
    const QImage page = pictures::typesetPage(pictures::Worksheet, 200);
    ASSERT_TRUE(page.save(path(QStringLiteral("page.png"))));
    {
        QPdfWriter writer(path(QStringLiteral("scan.pdf")));
        writer.setResolution(200);
        writer.setPageSize(QPageSize(QSizeF(6, page.height() / 200.0), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        for (int i = 0; i < 40; ++i) {
            if (i > 0)
                writer.newPage();
            painter.drawImage(QPointF(0, 0), page);
        }
    }
    QStringList pages(40, path(QStringLiteral("page.png")));
    ASSERT_EQ(QProcess::execute(convert, pages << path(QStringLiteral("pages.tiff"))), 0);

    // Stopped as pages are recognised: while the text is printed, and while an export reads its documents.
    expectStoppedAtOnce(stopCli({QStringLiteral("text"), path(QStringLiteral("scan.pdf"))}, SIGINT, afterMs(2500)),
                        SIGINT);
    expectStoppedAtOnce(stopCli({QStringLiteral("export"), QStringLiteral("-o"), path(QStringLiteral("out")),
                                 path(QStringLiteral("pages.tiff")), path(QStringLiteral("scan.pdf"))},
                                SIGTERM, afterMs(2500)),
                        SIGTERM);
    EXPECT_EQ(files(),
              (QStringList{QStringLiteral("page.png"), QStringLiteral("pages.tiff"), QStringLiteral("scan.pdf")}));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out"))));
}

TEST_F(CommandLine, AWordConversionEndsWithTheProgramAndLeavesNoOfficeOrFolderBehindEvenWhenKilled)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    // A long document, which the office takes many seconds over.
    QByteArray text;
    for (int i = 0; i < 300'000; ++i)
        text += "Every learner reads this line aloud in the morning.\n";
    writeFile(path(QStringLiteral("long.doc")), text);
    writeFile(path(QStringLiteral("short.txt")), Story);
    const QString temporary = path(QStringLiteral("tmp"));
    QDir().mkpath(temporary);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    // The office's command line names its private profile in the conversion's work folder.
    const QString work = temporary + QStringLiteral("/parlivo-convert-");
    // Once the office itself runs, which its launcher starts as a child of its own.
    const auto converting = [&] {
        const QList<qint64> office = processesWith(work);
        return std::any_of(office.begin(), office.end(), [](qint64 pid) {
            return readFile(QStringLiteral("/proc/%1/comm").arg(pid)).startsWith("soffice.bin");
        });
    };
    const auto workFolders = [&] {
        return QDir(temporary).entryList({QStringLiteral("parlivo-convert-*")}, QDir::Dirs);
    };
    const QStringList textOfLongDoc{QStringLiteral("text"), path(QStringLiteral("long.doc"))};

    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        expectStoppedAtOnce(stopCli(textOfLongDoc, signal, converting, environment), signal);
        EXPECT_EQ(processesWith(work), QList<qint64>());
        EXPECT_EQ(workFolders(), QStringList());
    }

    // Killed, the program can tidy nothing itself: the office ends with it all the same, and the work folder goes
    // when the program next starts, though not while its conversion still runs.
    const StoppedRun killed = stopCli(
        textOfLongDoc, SIGKILL,
        [&] {
            if (!converting())
                return false;
            EXPECT_EQ(runCli({QStringLiteral("text"), path(QStringLiteral("short.txt"))}, {}, environment).exitCode, 0);
            EXPECT_EQ(workFolders().size(), 1);
            return true;
        },
        environment);
    EXPECT_EQ(killed.exitCode, -1);
    QElapsedTimer clock;
    clock.start();
    while (!processesWith(work).isEmpty() && clock.elapsed() < 2000)
        QThread::msleep(20);
    const QList<qint64> left = processesWith(work);
    for (const qint64 pid : left)
        ::kill(pid_t(pid), SIGKILL);
    EXPECT_EQ(left, QList<qint64>()) << "the office still runs";
    EXPECT_EQ(workFolders().size(), 1);
    EXPECT_EQ(runCli({QStringLiteral("text"), path(QStringLiteral("short.txt"))}, {}, environment).exitCode, 0);
    EXPECT_EQ(workFolders(), QStringList());
}

TEST_F(CommandLine, TenMinutesOfSubtitlesStayOnTheSoundOfTheWavAndTheMp3)
{
    // Sentences of plain words, so each one's sound starts clearly after the pause before it. The first fifty
    // come in paragraphs of five, the rest in one paragraph of eight minutes: an error that grows sentence by
    // sentence and starts again with each paragraph shows only there.
    const QStringList words = QStringLiteral("the cat sat on the warm mat while children read their books and teachers "
                                             "listened quietly to every word")
                                  .split(QLatin1Char(' '));
    QByteArray text;
    quint32 seed = 7;
    for (int sentence = 0; sentence < 200; ++sentence) {
        QStringList picked;
        for (int word = 0; word < 6 + sentence % 9; ++word) {
            seed = seed * 1103515245u + 12345u;
            picked << words[(seed >> 8) % words.size()];
        }
        picked[0][0] = picked[0][0].toUpper();
        text += picked.join(QLatin1Char(' ')).toUtf8() + (sentence < 50 && sentence % 5 == 4 ? ".\n\n" : ". ");
    }
    writeFile(path(QStringLiteral("long.txt")), text);

    for (const char* format : {"wav", "mp3"}) {
        SCOPED_TRACE(format);
        const CliRun run = runCli({QStringLiteral("export"), QStringLiteral("-o"),
                                   path(QStringLiteral("long.") + QLatin1String(format)), QStringLiteral("--srt"),
                                   path(QStringLiteral("long.srt")), path(QStringLiteral("long.txt"))});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QString sound = path(QStringLiteral("long.wav"));
        if (QLatin1String(format) == QLatin1String("mp3")) {
            sound = path(QStringLiteral("decoded.wav"));
            QProcess decode;
            decode.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("--decode"),
                                                  path(QStringLiteral("long.mp3")), sound});
            ASSERT_TRUE(decode.waitForFinished(120'000));
        }
        const QByteArray wav = readFile(sound);
        ASSERT_GT(wav.size(), 44);
        const QList<qint64> starts = soundStarts(wav);
        ASSERT_FALSE(starts.isEmpty());
        const QList<std::pair<qint64, qint64>> cues =
            srtCues(QString::fromUtf8(readFile(path(QStringLiteral("long.srt")))));
        ASSERT_EQ(cues.size(), 200);
        ASSERT_GT(cues.last().first, 9 * 60 * 1000) << "ten minutes of speech";
        // The encoder's own delay puts the sound a few hundredths of a second after the start of the file.
        QList<qint64> cueStarts;
        for (const auto& cue : cues)
            cueStarts << cue.first;
        const auto [worstAt, worst] = farthestFromSound(cueStarts, starts);
        EXPECT_LE(std::abs(worst), 90) << "the sound of the sentence at " << worstAt << " ms starts " << worst
                                       << " ms from its time";
    }
}

TEST_F(CommandLine, ALibrarySpreadWithGnuParallelResumesWithoutRedoingFinishedExports)
{
    const QString parallel = QStandardPaths::findExecutable(QStringLiteral("parallel"));
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU parallel is not installed";
    QDir().mkpath(path(QStringLiteral("books")));
    for (const char* name : {"a", "b", "c"})
        writeFile(path(QStringLiteral("books/%1.txt").arg(QLatin1String(name))), "A short chapter. It ends here.");
    // The README's command, with this machine (":") as the only one logged in to.
    const QString command = QStringLiteral("find books -type f | parallel --will-cite --sshlogin : --workdir . "
                                           "parlivo-cli export --skip-existing -o audio/ --lrc audio/ --srt audio/ {}");
    auto runParallel = [&] {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PARLIVO_SPEECH_CLOCK"), QStringLiteral("40"));
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(PARLIVO_CLI_PATH)).path() +
                                                       QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(folder.path());
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        EXPECT_TRUE(shell.waitForFinished(300'000));
        EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
        return QString::fromUtf8(shell.readAllStandardError());
    };
    auto written = [&] {
        QMap<QString, QDateTime> times;
        for (const QFileInfo& file : QDir(path(QStringLiteral("audio"))).entryInfoList(QDir::Files | QDir::Hidden))
            times.insert(file.fileName(), file.lastModified());
        return times;
    };

    EXPECT_FALSE(runParallel().contains(QStringLiteral("skipped")));
    const QMap<QString, QDateTime> first = written();
    ASSERT_EQ(first.keys(), (QStringList{QStringLiteral("a.lrc"), QStringLiteral("a.mp3"), QStringLiteral("a.srt"),
                                         QStringLiteral("b.lrc"), QStringLiteral("b.mp3"), QStringLiteral("b.srt"),
                                         QStringLiteral("c.lrc"), QStringLiteral("c.mp3"), QStringLiteral("c.srt")}));

    // A run cut short left b without its subtitles: only b is made again, a and c are reported as skipped.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("audio/b.srt"))));
    QThread::msleep(20);
    const QString second = runParallel();
    EXPECT_EQ(second.count(QStringLiteral(": skipped, ")), 2) << second.toStdString();
    EXPECT_FALSE(second.contains(QStringLiteral("b.txt: skipped"))) << second.toStdString();
    const QMap<QString, QDateTime> again = written();
    ASSERT_EQ(again.keys(), first.keys()) << "no temporary file stays behind";
    for (const QString& name : first.keys()) {
        if (name.startsWith(QLatin1Char('b')))
            EXPECT_GT(again[name], first[name]) << name.toStdString();
        else
            EXPECT_EQ(again[name], first[name]) << name.toStdString();
    }
}

TEST_F(CommandLine, AnEspeakNgExportOpensNoFestivalFileNoSoundDeviceAndNoWindowOrBrowserLibrary)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    writeFile(path(QStringLiteral("story.txt")), Story);
    QProcess traced;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // As a user runs it, with an espeak-ng voice named: speech would go to the sound server if anything asked for the
    // audio output.
    environment.remove(QStringLiteral("PARLIVO_SPEECH_CLOCK"));
    traced.setProcessEnvironment(environment);
    traced.start(strace,
                 {QStringLiteral("-f"), QStringLiteral("-e"), QStringLiteral("trace=openat,connect"),
                  QStringLiteral("-o"), path(QStringLiteral("trace.log")), QStringLiteral(PARLIVO_CLI_PATH),
                  QStringLiteral("export"), QStringLiteral("--voice"), QStringLiteral("English (Great Britain)"),
                  QStringLiteral("-o"), path(QStringLiteral("story.mp3")), path(QStringLiteral("story.txt"))});
    ASSERT_TRUE(traced.waitForFinished(120'000));
    ASSERT_EQ(traced.exitCode(), 0) << traced.readAllStandardError().toStdString();
    EXPECT_TRUE(readFile(path(QStringLiteral("story.mp3"))).startsWith("\xFF"));

    const QStringList calls = QString::fromUtf8(readFile(path(QStringLiteral("trace.log")))).split(QLatin1Char('\n'));
    ASSERT_TRUE(calls.filter(QStringLiteral("espeak-ng-data")).size() > 0) << "the trace shows what was opened";
    QStringList pulseSockets{QStringLiteral("pulse/native")};
    if (const QString server = environment.value(QStringLiteral("PULSE_SERVER")); !server.isEmpty())
        pulseSockets << server.section(QLatin1Char(':'), -1);
    for (const QString& call : calls) {
        if (call.contains(QLatin1String("openat("))) {
            EXPECT_FALSE(call.contains(QLatin1String("/festival")) || call.contains(QLatin1String("festvox")))
                << call.toStdString();
            // The browser engine is loaded for text --article alone, and no command needs widgets.
            EXPECT_FALSE(call.contains(QLatin1String("libQt6Widgets")) ||
                         call.contains(QLatin1String("libQt6WebEngine")))
                << call.toStdString();
        }
        if (call.contains(QLatin1String("connect("))) {
            for (const QString& socket : pulseSockets)
                EXPECT_FALSE(call.contains(socket)) << call.toStdString();
        }
    }
}
