// The word processor is an outside program that may be missing, fail, crash or hang. Each
// way gives the user the right outcome, leaves no temporary files behind and no process running or unreaped.
#include "window/readingarea/DocumentLoader.h"
#include "fakes/ScriptedPrompts.h"
#include "formats/WordProcessorImport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QString RecordPidLine = QStringLiteral("echo $$ >> \"$FAKE_PIDS\"\n");

// A shell script standing in for the program; `body` is its whole behaviour.
QString writeScript(const QTemporaryDir& folder, const QString& name, const QString& body)
{
    const QString path = folder.filePath(name);
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n" + RecordPidLine.toUtf8() + "for a; do out=$a; done\n" + body.toUtf8() + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// Each fake program and every helper it starts append their process ids to the file named by FAKE_PIDS.
class FakeProcessLog
{
public:
    FakeProcessLog() : mPath(mFolder.filePath(QStringLiteral("pids")))
    {
        mOld = qgetenv("FAKE_PIDS");
        qputenv("FAKE_PIDS", mPath.toUtf8());
    }
    ~FakeProcessLog() { qputenv("FAKE_PIDS", mOld); }

    // The fake processes still running, or finished but never reaped by us.
    QStringList leftovers() const
    {
        QStringList found;
        QFile log(mPath);
        if (!log.open(QIODevice::ReadOnly))
            return found;
        const QString ownPid = QString::number(::getpid());
        for (const QByteArray& pid : log.readAll().split('\n')) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid.trimmed())));
            if (pid.trimmed().isEmpty() || !stat.open(QIODevice::ReadOnly))
                continue;
            const QString line = QString::fromLocal8Bit(stat.readAll());
            const QStringList fields = line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
            const bool zombie = !fields.isEmpty() && fields[0] == QLatin1String("Z");
            if (!zombie || (fields.size() > 1 && fields[1] == ownPid))
                found << line.left(60);
        }
        return found;
    }

    // Every fake program has had time to go; then none may be left.
    void expectNone() const
    {
        QStringList left;
        for (int attempt = 0; attempt < 40; ++attempt) {
            left = leftovers();
            if (left.isEmpty())
                return;
            QThread::msleep(50);
        }
        ADD_FAILURE() << "processes left: " << left.join(QLatin1String("; ")).toStdString();
    }

private:
    QTemporaryDir mFolder;
    QString mPath;
    QByteArray mOld;
};

// A helper a fake program leaves running in the background.
#define FAKE_HELPER "sh -c 'echo $$ >> \"$FAKE_PIDS\"; exec sleep 600' & "

struct OfficeCase
{
    const char* name;
    const char* script; // empty: no word processor at that path
};

void PrintTo(const OfficeCase& param, std::ostream* out)
{
    *out << param.name;
}

class WordProcessorFaults : public ::testing::TestWithParam<OfficeCase>
{
protected:
    void SetUp() override
    {
        // The conversion makes its work folder in the temporary folder: point that at one we can inspect.
        mOldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", mTemp.path().toUtf8());
    }
    void TearDown() override
    {
        setWordProcessorProgram(QString());
        qputenv("TMPDIR", mOldTemp);
    }

    FakeProcessLog mProcesses;
    QTemporaryDir mFolder;
    QTemporaryDir mTemp;
    QByteArray mOldTemp;
};

} // namespace

TEST_P(WordProcessorFaults, TellTheUserKeepTheTextAndLeaveNothingBehind)
{
    const OfficeCase& param = GetParam();
    setWordProcessorProgram(*param.script
                                ? writeScript(mFolder, QStringLiteral("soffice"), QString::fromLatin1(param.script))
                                : mFolder.filePath(QStringLiteral("soffice")));
    const QString document = mFolder.filePath(QStringLiteral("letter.doc"));
    writeFile(document, "not really a word document");
    ScriptedPrompts prompts;
    QTextEdit area;
    area.setPlainText(QStringLiteral("text before"));

    LoadDocumentByType(&area, document, TextMode::Rich);

    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("MS Word is not installed, unable to load MS Word document.")});
    EXPECT_EQ(area.toPlainText(), QStringLiteral("text before"));
    EXPECT_TRUE(QDir(mTemp.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        << QDir(mTemp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u' ').toStdString();
    mProcesses.expectNone();
}

// The converter is called with --outdir <folder> as its second-last argument; the fakes write there.
INSTANTIATE_TEST_SUITE_P(
    Soffice, WordProcessorFaults,
    ::testing::Values(OfficeCase{"Missing", ""}, OfficeCase{"ExitsNonZero", "exit 81"},
                      OfficeCase{"ExitsZeroWithoutOutput", "exit 0"},
                      OfficeCase{"LeavesAHelperRunning", FAKE_HELPER "sleep 0.3; exit 0"},
                      OfficeCase{"WritesAnEmptyFile", "for a; do out=$prev; prev=$a; done; : > \"$out/letter.rtf\""},
                      OfficeCase{"Crashes", "for a; do out=$prev; prev=$a; done; echo '{\\rtf1 x' > \"$out/x.tmp\"; "
                                            "kill -SEGV $$"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WordProcessorFaults, AHungConverterIsStoppedAtTheLimitWithEverythingItStarted)
{
    setWordProcessorProgram(writeScript(mFolder, QStringLiteral("soffice"),
                                        QStringLiteral(FAKE_HELPER "touch \"$TMPDIR/scratch\"; exec sleep 600")));
    const QString document = mFolder.filePath(QStringLiteral("letter.doc"));
    writeFile(document, "x");
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(convertDocument(document, QStringLiteral("rtf"), std::chrono::milliseconds(700)), WordProcessorError);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(QDir(mTemp.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    mProcesses.expectNone();
}
