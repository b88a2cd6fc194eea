#include "window/readingarea/DocumentSaver.h"
#include "fakes/ScriptedPrompts.h"
#include "core/Errors.h"
#include "support/FileSizeLimit.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

const QByteArray ColouredRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                               "Caf\\u233\\'e9 {\\b\\cf1 bold red}\\par second}";

class DocumentSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile source(mFolder.filePath(QStringLiteral("source.rtf")));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(ColouredRtf);
        source.close();
        LoadDocumentByType(&mArea, source.fileName(), mMode);
    }

    QString path(const QString& name) const { return mFolder.filePath(name); }

    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    bool hasFormatting() const
    {
        for (QTextBlock block = mArea.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().fontWeight() > QFont::Normal)
                    return true;
            }
        }
        return false;
    }

    bool save(const QString& name)
    {
        mPrompts.files << path(name);
        return SaveReadingArea(&mArea, mMode);
    }

    bool saveAs(const QString& name)
    {
        mPrompts.files << path(name);
        return SaveReadingAreaAs(&mArea, mMode);
    }

    QTemporaryDir mFolder;
    QTextEdit mArea;
    TextMode mMode = TextMode::Rich;
    ScriptedPrompts mPrompts;
};

} // namespace

TEST_F(DocumentSave, NothingToSaveUnlessTheUserEdited)
{
    mArea.clear();
    mArea.document()->setModified(false);
    mPrompts.files << path(QStringLiteral("never.txt"));
    EXPECT_FALSE(SaveReadingArea(&mArea, mMode));
    mArea.setPlainText(QStringLiteral(" \t\n "));
    mArea.document()->setModified(false);
    EXPECT_FALSE(SaveReadingAreaAs(&mArea, mMode));
    EXPECT_EQ(mPrompts.messages, QStringList(2, QStringLiteral("There is nothing to save.")));
    EXPECT_TRUE(mPrompts.fileDialogs.isEmpty());

    // Text typed and then deleted leaves the area empty but edited: the dialog opens and an empty file is written.
    mArea.clear();
    QTest::keyClicks(&mArea, QStringLiteral("x"));
    QTest::keyClick(&mArea, Qt::Key_Backspace);
    ASSERT_TRUE(mArea.document()->isModified());
    mPrompts.files.clear();
    EXPECT_TRUE(save(QStringLiteral("empty.txt")));
    EXPECT_EQ(mPrompts.fileDialogs.size(), 1);
    EXPECT_EQ(mPrompts.fileDialogs.first().title, QStringLiteral("Save Text Document"));
    EXPECT_EQ(mPrompts.fileDialogs.first().filter,
              QStringLiteral("Text File (*.txt)|*.txt|RichText File (*.rtf)|*.rtf"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("empty.txt"))));
    EXPECT_EQ(contents(path(QStringLiteral("empty.txt"))), QByteArray());
}

TEST_F(DocumentSave, SaveToTxtWritesPlainTextAndLeavesTheAreaPlain)
{
    QTextCursor caret = mArea.textCursor();
    caret.setPosition(7);
    mArea.setTextCursor(caret);
    EXPECT_TRUE(save(QStringLiteral("NOTES.TXT")));
    EXPECT_EQ(contents(path(QStringLiteral("NOTES.TXT"))), QByteArray("Caf\xC3\xA9 bold red\r\nsecond"));
    EXPECT_EQ(mMode, TextMode::Plain);
    EXPECT_FALSE(hasFormatting());
    EXPECT_EQ(mArea.textCursor().position(), 7);

    // A name typed without an extension becomes .txt.
    EXPECT_TRUE(save(QStringLiteral("typed")));
    EXPECT_EQ(contents(path(QStringLiteral("typed.txt"))), QByteArray("Caf\xC3\xA9 bold red\r\nsecond"));

    // What is pasted into the plain area arrives as plain text, as the next save will write it.
    auto* clip = new QMimeData;
    clip->setHtml(QStringLiteral("<b>pasted</b>"));
    clip->setText(QStringLiteral("pasted"));
    QGuiApplication::clipboard()->setMimeData(clip);
    mArea.paste();
    EXPECT_TRUE(mArea.toPlainText().contains(QStringLiteral("pasted")));
    EXPECT_FALSE(hasFormatting());
}

TEST_F(DocumentSave, SaveToRtfKeepsTheFormattingShown)
{
    EXPECT_TRUE(save(QStringLiteral("copy.rtf")));
    EXPECT_EQ(mMode, TextMode::Rich);
    EXPECT_TRUE(hasFormatting());
    const QByteArray written = contents(path(QStringLiteral("copy.rtf")));
    EXPECT_TRUE(written.startsWith("{\\rtf1"));
    EXPECT_TRUE(written.contains("\\b") && written.contains("\\red255\\green0\\blue0")) << written.constData();

    // Other names follow the mode: rich after Save, plain after Save As.
    EXPECT_TRUE(save(QStringLiteral("copy.doc")));
    EXPECT_TRUE(contents(path(QStringLiteral("copy.doc"))).startsWith("{\\rtf1"));
    EXPECT_TRUE(saveAs(QStringLiteral("copy.dat")));
    EXPECT_EQ(contents(path(QStringLiteral("copy.dat"))), QByteArray("Caf\xC3\xA9 bold red\r\nsecond"));
}

TEST_F(DocumentSave, SaveAsRtfWritesWithoutFormattingAndReturnsToRichMode)
{
    EXPECT_TRUE(saveAs(QStringLiteral("plain.Rtf")));
    EXPECT_EQ(mMode, TextMode::Rich);
    EXPECT_FALSE(hasFormatting());
    const QByteArray written = contents(path(QStringLiteral("plain.Rtf")));
    EXPECT_TRUE(written.startsWith("{\\rtf1"));
    EXPECT_FALSE(written.contains("\\b "));
    EXPECT_FALSE(written.contains("\\cf"));
    EXPECT_TRUE(written.contains("Caf\\u233\\'e9 bold red"));
}

TEST_F(DocumentSave, AnExistingFileIsReplacedWithoutAQuestion)
{
    QFile old(path(QStringLiteral("old.txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a much longer old content that must not survive in part");
    old.close();
    EXPECT_TRUE(save(QStringLiteral("old.txt")));
    EXPECT_EQ(contents(old.fileName()), QByteArray("Caf\xC3\xA9 bold red\r\nsecond"));
    EXPECT_TRUE(mPrompts.questions.isEmpty());
}

TEST_F(DocumentSave, AFailedSaveLeavesWhatWasThere)
{
    // A folder in the way of the name.
    QDir(mFolder.path()).mkpath(QStringLiteral("taken.txt/inside"));
    EXPECT_THROW(save(QStringLiteral("taken.txt")), FileError);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("taken.txt/inside"))).isDir());
    // A folder that does not exist.
    try {
        save(QStringLiteral("nowhere/file.rtf"));
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().startsWith(QLatin1String("Cannot create file"))) << error.what();
        EXPECT_TRUE(error.message().contains(QLatin1String("nowhere"))) << error.what();
    }

    // A write that fails half-way (the file-size limit stands in for a full disk) leaves the old file whole.
    const QString target = path(QStringLiteral("kept.rtf"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    mPrompts.files << target;
    {
        const FileSizeLimit fullDisk(64);
        EXPECT_THROW(SaveReadingArea(&mArea, mMode), FileError);
    }
    EXPECT_EQ(contents(target), QByteArray("old content"));
    QStringList files = QDir(mFolder.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{QStringLiteral("kept.rtf"), QStringLiteral("source.rtf")}));
    // The reading area keeps its text.
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral(u"Café bold red\nsecond"));
}
