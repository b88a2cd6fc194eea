// MP3 export with the real voice and the real encoder.
#include "window/main/MainWindow.h"
#include "window/dialogs/StatusDialog.h"
#include "export/SpeechExport.h"
#include "fakes/ScriptedPrompts.h"
#include "core/AppFolder.h"
#include "speech/EspeakEngine.h"
#include "support/FileSizeLimit.h"
#include "support/SubtitleSound.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// Seconds of audio in a WAV file of 22050 Hz mono 16-bit samples.
double wavSeconds(const QString& path)
{
    return (QFileInfo(path).size() - 44) / 44100.0;
}

class Mp3Export : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setAppFolder(folder.path());
        EspeakEngine::Options options;
        options.useClock = true;
        options.clockSpeed = 20;
        reader = std::make_unique<MainWindow>(std::make_unique<EspeakEngine>(options));
        ASSERT_TRUE(reader->FormCreate());
        reader->reText->setPlainText(QStringLiteral("Teachers turn worksheets into sound.\nLearners listen at home."));
    }

    QStringList filesIn(const QString& path) const { return QDir(path).entryList(QDir::Files | QDir::Hidden); }

    // The MP3 decoded back to WAV, to measure what it says.
    QByteArray decoded(const QString& mp3)
    {
        const QString wav = folder.filePath(QStringLiteral("decoded.wav"));
        QProcess lame;
        lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("--decode"), mp3, wav});
        EXPECT_TRUE(lame.waitForFinished(60000));
        QFile file(wav);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QFile::remove(wav);
        return bytes;
    }
    double mp3Seconds(const QString& mp3) { return (decoded(mp3).size() - 44) / 44100.0; }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> reader;
};
} // namespace

TEST_F(Mp3Export, ASavedMp3SaysTheWholeTextUnderTheChosenNameAndTouchesNothingElse)
{
    QTemporaryDir out;
    // The user's own files beside the export: a recording and another export.
    for (const QString& name :
         {QStringLiteral("lesson.wav"), QStringLiteral("lesson.one.wav"), QStringLiteral("lesson.MP3")}) {
        QFile file(out.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("mine");
    }
    QTextCursor selection = reader->reText->textCursor();
    selection.setPosition(9);
    selection.setPosition(13, QTextCursor::KeepAnchor);
    reader->reText->setTextCursor(selection);

    prompts.files << out.filePath(QStringLiteral("lesson.one.mp3"));
    reader->SaveAsMP31->trigger();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Text successfully converted to MP3.")});
    EXPECT_EQ(filesIn(out.path()), (QStringList{QStringLiteral("lesson.MP3"), QStringLiteral("lesson.one.mp3"),
                                                QStringLiteral("lesson.one.wav"), QStringLiteral("lesson.wav")}));
    for (const QString& name :
         {QStringLiteral("lesson.wav"), QStringLiteral("lesson.one.wav"), QStringLiteral("lesson.MP3")}) {
        QFile file(out.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "mine") << name.toStdString();
    }
    // The export leaves the reading area as it was.
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("turn"));
    EXPECT_FALSE(reader->model().busy());
    EXPECT_EQ(reader->reText->toPlainText(),
              QStringLiteral("Teachers turn worksheets into sound.\nLearners listen at home."));

    // The same text rendered straight to WAV gives the length the MP3 must have.
    const QString reference = folder.filePath(QStringLiteral("reference.wav"));
    reader->spVoice->engine().speakToFile(reader->reText->toPlainText(), false, reference);
    const double expected = wavSeconds(reference);
    EXPECT_GT(expected, 2.0);
    EXPECT_NEAR(mp3Seconds(out.filePath(QStringLiteral("lesson.one.mp3"))), expected, 0.15);
}

TEST_F(Mp3Export, NamesWithSpacesAndQuotesReachTheEncoderWhole)
{
    QTemporaryDir out;
    prompts.files << out.filePath(QStringLiteral("Year 4 \"spelling\" 'list'.mp3"));
    reader->SaveAsMp3(true);
    EXPECT_EQ(prompts.messages.value(0), QStringLiteral("Text successfully converted to MP3."));
    EXPECT_EQ(filesIn(out.path()), QStringList{QStringLiteral("Year 4 \"spelling\" 'list'.mp3")});
}

TEST_F(Mp3Export, BlankTextHasNothingToSaveAndAsksForNoName)
{
    reader->reText->setPlainText(QStringLiteral("  \n\t"));
    reader->SaveAsMp3(true);
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("There is nothing to save.")});
    EXPECT_TRUE(prompts.fileDialogs.isEmpty());
}

TEST_F(Mp3Export, CancelLeavesNoFileAndTheVoiceSpeaksAloudAgain)
{
    QTemporaryDir out;
    QString text;
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral("Learners listen to the story at home while the teacher reads it aloud. ");
    reader->reText->setPlainText(text);
    prompts.files << out.filePath(QStringLiteral("story.mp3"));
    // Cancel is pressed once the status window shows progress.
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* status = qobject_cast<StatusDialog*>(window); status && status->isVisible())
                status->buCancel->click();
        }
    });
    cancel.start(200);
    reader->SaveAsMp3(true);
    cancel.stop();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(filesIn(out.path()).isEmpty());
    EXPECT_FALSE(reader->model().busy());

    // A reading afterwards is heard again: its words arrive as it plays.
    reader->reText->setPlainText(QStringLiteral("Teachers turn worksheets into sound."));
    QSignalSpy words(reader->spVoice, &Voice::OnWord);
    QSignalSpy end(reader->spVoice, &Voice::OnEndStream);
    reader->StartReading(true);
    EXPECT_TRUE(end.wait(20000));
    EXPECT_EQ(words.size(), 5);
}

TEST_F(Mp3Export, AFolderThatCannotBeWrittenGivesTheFailureMessageWithItsReason)
{
    prompts.files << folder.filePath(QStringLiteral("no such folder/story.mp3"));
    reader->SaveAsMp3(true);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(
        QStringLiteral("Unable to convert text to MP3. Please check to ensure the file is not in use\n\n")));
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("no such folder")));
    EXPECT_FALSE(reader->model().busy());
}

TEST_F(Mp3Export, AFullDiskFailsAndKeepsTheOlderMp3Whole)
{
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("story.mp3"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older export");
    old.close();
    prompts.files << target;
    {
        const FileSizeLimit fullDisk(1024);
        reader->SaveAsMp3(true);
    }
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messageKinds[0], MessageKind::Error);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "older export");
    EXPECT_EQ(filesIn(out.path()), QStringList{QStringLiteral("story.mp3")}) << "no partial file stays";
}

TEST_F(Mp3Export, SubtitlesChosenInTheSaveMenuAreWrittenBesideTheMp3OnItsSoundAndRemembered)
{
    EXPECT_FALSE(reader->Mp3Subtitles1->isChecked()) << "off in a settings file without the choice";
    reader->reText->setPlainText(QStringLiteral("Teachers turn worksheets into sound. Learners listen at home.\n"
                                                "The class reads along. Everyone hears every word."));
    reader->Mp3Subtitles1->trigger();
    QTemporaryDir out;
    prompts.files << out.filePath(QStringLiteral("week.two"));
    reader->SaveAsMP31->trigger();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Text successfully converted to MP3.")});
    EXPECT_EQ(filesIn(out.path()), (QStringList{QStringLiteral("week.two.lrc"), QStringLiteral("week.two.mp3"),
                                                QStringLiteral("week.two.srt")}));

    const QList<qint64> sounds = subtitles::soundStarts(decoded(out.filePath(QStringLiteral("week.two.mp3"))));
    QFile srt(out.filePath(QStringLiteral("week.two.srt")));
    ASSERT_TRUE(srt.open(QIODevice::ReadOnly));
    QList<qint64> cueStarts;
    for (const auto& cue : subtitles::srtCues(QString::fromUtf8(srt.readAll())))
        cueStarts << cue.first;
    ASSERT_EQ(cueStarts.size(), 4);
    QFile lrc(out.filePath(QStringLiteral("week.two.lrc")));
    ASSERT_TRUE(lrc.open(QIODevice::ReadOnly));
    const QString lyrics = QString::fromUtf8(lrc.readAll());
    EXPECT_TRUE(lyrics.startsWith(QStringLiteral("[ti:week.two]\n"))) << lyrics.toStdString();
    QList<qint64> lineStarts;
    for (const QString& line : lyrics.split(QLatin1Char('\n')).mid(1, 4))
        lineStarts << subtitles::lrcTimes(line).value(0, -1000);
    for (const QList<qint64>& times : {cueStarts, lineStarts}) {
        const auto [at, off] = subtitles::farthestFromSound(times, sounds);
        EXPECT_LE(std::abs(off), 90) << "the sentence at " << at << " ms sounds " << off << " ms from it";
    }

    // The choice is kept in Parlivo.ini and comes back with the settings.
    reader->SaveSettings();
    reader->Mp3Subtitles1->setChecked(false);
    reader->LoadSettings();
    EXPECT_TRUE(reader->Mp3Subtitles1->isChecked());
}

TEST(Mp3ExportPaths, TheChosenNameIsKeptWholeAndEndsInMp3)
{
    EXPECT_EQ(Mp3PathFor(QStringLiteral("/tmp/a/Chapter 1.mp3")), QStringLiteral("/tmp/a/Chapter 1.mp3"));
    EXPECT_EQ(Mp3PathFor(QStringLiteral("/tmp/a/Chapter 1.2.MP3")), QStringLiteral("/tmp/a/Chapter 1.2.MP3"));
    EXPECT_EQ(Mp3PathFor(QStringLiteral("/tmp/a.b/week.two")), QStringLiteral("/tmp/a.b/week.two.mp3"));
}
