#include "formats/WordProcessorImport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A stand-in for LibreOffice: a shell script, with the conversion's own temporary folders kept in a
// folder of the test so that what is left behind can be counted.
class WordProcessorImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.isValid());
        mOldTmp = qgetenv("TMPDIR");
        QDir().mkpath(path(QStringLiteral("tmp")));
        qputenv("TMPDIR", path(QStringLiteral("tmp")).toLocal8Bit());
        mDocument = path(QStringLiteral("-letter.doc"));
        QFile document(mDocument);
        ASSERT_TRUE(document.open(QIODevice::WriteOnly));
        document.write("not really a word document");
    }

    void TearDown() override
    {
        qputenv("TMPDIR", mOldTmp);
        setWordProcessorProgram(QString());
    }

    QString path(const QString& name) const { return mFolder.filePath(name); }

    void useScript(const QByteArray& body)
    {
        const QString script = path(QStringLiteral("convert.sh"));
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setWordProcessorProgram(script);
    }

    QStringList leftBehind() const
    {
        return QDir(path(QStringLiteral("tmp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir mFolder;
    QByteArray mOldTmp;
    QString mDocument;
};

} // namespace

TEST_F(WordProcessorImport, ReturnsWhatTheConverterWroteAndCleansUp)
{
    // Records its arguments, then writes "<name>.rtf" into the folder after --outdir, as LibreOffice does.
    useScript("printf '%s\\n' \"$@\" > '" + path(QStringLiteral("args")).toLocal8Bit() +
              "'\n"
              "prev=''; for a in \"$@\"; do [ \"$prev\" = --outdir ] && out=\"$a\"; prev=\"$a\"; last=\"$a\"; done\n"
              "name=$(basename \"$last\"); printf '{\\\\rtf1 converted}' > \"$out/${name%.*}.rtf\"\n");
    EXPECT_EQ(convertDocument(mDocument, QStringLiteral("rtf")), QByteArray("{\\rtf1 converted}"));

    QFile args(path(QStringLiteral("args")));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList given = QString::fromUtf8(args.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(given.first().startsWith(QLatin1String("-env:UserInstallation=file:///")))
        << given.first().toStdString();
    EXPECT_TRUE(given.contains(QLatin1String("--headless")));
    EXPECT_EQ(given.mid(given.indexOf(QLatin1String("--convert-to")) + 1, 1), QStringList{QStringLiteral("rtf")});
    // The document goes by its absolute path, so a name starting with "-" is no option.
    EXPECT_EQ(given.last(), QFileInfo(mDocument).absoluteFilePath());
    EXPECT_EQ(leftBehind(), QStringList());
}

TEST_F(WordProcessorImport, ExitCodeZeroWithoutOutputIsAFailure)
{
    useScript("exit 0\n");
    EXPECT_THROW(convertDocument(mDocument, QStringLiteral("rtf")), WordProcessorError);
    useScript("for a in \"$@\"; do [ \"$prev\" = --outdir ] && out=\"$a\"; prev=\"$a\"; done\n"
              ": > \"$out/-letter.rtf\"\n");
    EXPECT_THROW(convertDocument(mDocument, QStringLiteral("rtf")), WordProcessorError);
    EXPECT_EQ(leftBehind(), QStringList());
}

TEST_F(WordProcessorImport, MissingProgramOrDocumentIsAFailure)
{
    setWordProcessorProgram(path(QStringLiteral("no-such-office")));
    EXPECT_THROW(convertDocument(mDocument, QStringLiteral("rtf")), WordProcessorError);
    useScript("exit 0\n");
    EXPECT_THROW(convertDocument(path(QStringLiteral("missing.doc")), QStringLiteral("rtf")), WordProcessorError);
    EXPECT_EQ(leftBehind(), QStringList());
}

TEST_F(WordProcessorImport, AHungConverterIsKilledWithItsChildren)
{
    const QString pidFile = path(QStringLiteral("child.pid"));
    useScript("sleep 60 &\necho $! > '" + pidFile.toLocal8Bit() + "'\nwait\n");
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(convertDocument(mDocument, QStringLiteral("rtf"), 700ms), WordProcessorError);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(leftBehind(), QStringList());

    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const QString stat = QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid.readAll().trimmed()));
    bool gone = false;
    for (int i = 0; i < 50 && !gone; ++i) {
        QFile status(stat);
        gone = !status.open(QIODevice::ReadOnly) || status.readAll().contains(") Z ");
        if (!gone)
            QThread::msleep(100);
    }
    EXPECT_TRUE(gone) << "the converter's child still runs";
}
