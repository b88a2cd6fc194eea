#include "window/dialogs/StatusDialog.h"
#include "formats/DocumentFormats.h"
#include "window/readingarea/DocumentLoader.h"
#include "formats/DocumentLoading.h"
#include "fakes/ScriptedPrompts.h"
#include "core/Errors.h"
#include "formats/WordProcessorImport.h"
#include "support/DocumentFixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray ColouredRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                               "Hello {\\b\\cf1 bold red} world\\par second\\par}";

// A one-page PDF with nothing on its page, as a scan's pages hold no text. A locked one has a password that the
// empty one does not open.
QByteArray pdfWithoutText(bool locked)
{
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                 "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>"};
    if (locked)
        objects << "<< /Filter /Standard /V 1 /R 2 /O <" + QByteArray(64, '0') + "> /U <" + QByteArray(64, '0') +
                       "> /P -4 >>";
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray table = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray id = "<00112233445566778899aabbccddeeff>";
    return pdf + table + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R" +
           (locked ? " /Encrypt 4 0 R /ID [" + id + " " + id + "]" : QByteArray()) + " >>\nstartxref\n" +
           QByteArray::number(pdf.size()) + "\n%%EOF\n";
}

class DocumentLoad : public ::testing::Test
{
protected:
    void TearDown() override { setWordProcessorProgram(QString()); }

    QString file(const QString& name, const QByteArray& bytes)
    {
        QFile f(mFolder.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    void load(const QString& name, const QByteArray& bytes, TextMode mode = TextMode::Rich)
    {
        LoadDocumentByType(&mArea, file(name, bytes), mode);
    }

    QTextCharFormat formatOf(const QString& word)
    {
        QTextCursor cursor(mArea.document());
        cursor.setPosition(static_cast<int>(mArea.toPlainText().indexOf(word)) + 1);
        return cursor.charFormat();
    }

    bool hasFormatting() const
    {
        for (QTextBlock block = mArea.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.fontWeight() > QFont::Normal || format.foreground().style() != Qt::NoBrush ||
                    format.hasProperty(QTextFormat::FontFamilies))
                    return true;
            }
        }
        return false;
    }

    static QString visibleStatus()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* status = qobject_cast<StatusDialog*>(widget); status && status->isVisible())
                return status->windowTitle() + QLatin1Char('|') + status->Label1->text();
        }
        return {};
    }

    QTemporaryDir mFolder;
    QTextEdit mArea;
    ScriptedPrompts mPrompts;
};

} // namespace

TEST_F(DocumentLoad, PlainTextTakesEveryLineEndAndBothEncodings)
{
    mArea.setPlainText(QStringLiteral("old text"));
    mArea.document()->setModified(true);
    load(QStringLiteral("notes.TXT"), "caf\xC3\xA9\r\nCR LF\rCR\nLF");
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral(u"café\nCR LF\nCR\nLF"));
    EXPECT_EQ(mArea.document()->blockCount(), 4);
    EXPECT_FALSE(mArea.document()->isModified());
    EXPECT_EQ(mArea.textCursor().position(), 0);

    load(QStringLiteral("old.txt"), "caf\xE9 \x93quoted\x94");
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral(u"café “quoted”"));

    // Zero bytes are dropped and the text around them kept; markup in a .txt file is text.
    load(QStringLiteral("nul.txt"), QByteArray("before\0after", 12));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("beforeafter"));
    load(QStringLiteral("markup.txt"), ColouredRtf);
    EXPECT_TRUE(mArea.toPlainText().startsWith(QLatin1String("{\\rtf1")));
}

TEST_F(DocumentLoad, HtmlArrivesAsOneLineWhateverItsLineEnds)
{
    const QByteArray page = "<html>\n<body>\n<p>Hello</p>\n<p>World &amp; all</p>\n</body>\n</html>\n";
    QStringList results;
    for (const QByteArray& lineEnd : {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n")}) {
        QByteArray bytes = page;
        bytes.replace("\n", lineEnd);
        load(QStringLiteral("page.html"), bytes);
        results << mArea.toPlainText();
    }
    EXPECT_EQ(results[0], QStringLiteral("Hello World & all"));
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0]);
    EXPECT_EQ(mArea.document()->blockCount(), 1);

    // A zero byte ends the page; upper-case extensions count.
    load(QStringLiteral("PAGE.HTM"), QByteArray("<b>kept</b>\0<b>lost</b>", 23));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("kept"));
}

TEST_F(DocumentLoad, RichTextKeepsItsFormattingInRichModeOnly)
{
    load(QStringLiteral("letter.RTF"), ColouredRtf);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Hello bold red world\nsecond"));
    EXPECT_TRUE(formatOf(QStringLiteral("bold")).font().bold());
    EXPECT_EQ(formatOf(QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(mArea.document()->isModified());

    // In plain mode the markup is still read, but the formatting does not arrive.
    load(QStringLiteral("letter.rtf"), ColouredRtf, TextMode::Plain);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Hello bold red world\nsecond"));
    EXPECT_FALSE(hasFormatting());

    // A .rtf file that is not rich text shows as text.
    load(QStringLiteral("fake.rtf"), "just words");
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("just words"));
}

TEST_F(DocumentLoad, OtherExtensionsFollowTheMode)
{
    load(QStringLiteral("letter.dat"), ColouredRtf, TextMode::Rich);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Hello bold red world\nsecond"));
    EXPECT_TRUE(formatOf(QStringLiteral("bold")).font().bold());

    load(QStringLiteral("letter.dat"), ColouredRtf, TextMode::Plain);
    EXPECT_TRUE(mArea.toPlainText().startsWith(QLatin1String("{\\rtf1")));

    load(QStringLiteral("readme"), "no extension", TextMode::Rich);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("no extension"));

    // Binary garbage chosen under "All Files" shows as whatever text its bytes make.
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    EXPECT_NO_THROW(load(QStringLiteral("picture.png"), garbage, TextMode::Rich));
    EXPECT_FALSE(mArea.toPlainText().isEmpty());
}

TEST_F(DocumentLoad, AFileThatCannotBeReadLeavesTheReadingAreaAlone)
{
    mArea.setPlainText(QStringLiteral("keep me"));
    for (const QString& name : {QStringLiteral("missing.txt"), QStringLiteral("missing.rtf"),
                                QStringLiteral("missing.html"), QStringLiteral("missing.doc")}) {
        try {
            LoadDocumentByType(&mArea, mFolder.filePath(name), TextMode::Rich);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const FileError& error) {
            EXPECT_TRUE(error.message().contains(name)) << error.what();
            EXPECT_TRUE(error.message().contains(QLatin1String("No such file"))) << error.what();
        }
    }
    QDir(mFolder.path()).mkdir(QStringLiteral("folder.txt"));
    EXPECT_THROW(LoadDocumentByType(&mArea, mFolder.filePath(QStringLiteral("folder.txt")), TextMode::Rich), FileError);

    // A plain text file past the window's 5 MB is refused before a byte of it is read, with the limit named (the
    // command line reads up to 256 MB). The file is sparse: it takes no disk space.
    for (const QString& name : {QStringLiteral("huge.txt"), QStringLiteral("huge.log")}) {
        QFile huge(mFolder.filePath(name));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(5 * 1024 * 1024 + 1))
            << huge.errorString().toStdString();
        huge.close();
        try {
            LoadDocumentByType(&mArea, huge.fileName(), TextMode::Rich);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const FileError& error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Cannot open file \"%1\". It is larger than 5 MB, more than the "
                                     "reading area can show; parlivo-cli reads it aloud or exports it.")
                          .arg(QDir::toNativeSeparators(huge.fileName())));
        }
    }
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));
    EXPECT_TRUE(mPrompts.messages.isEmpty());
}

TEST_F(DocumentLoad, ALongTextComesInWithProgressTheEventLoopTurningAndCanBeCancelled)
{
    // Nearly the window's limit of ordinary prose, a paragraph a line.
    QByteArray prose;
    while (prose.size() < 9 * 512 * 1024)
        prose += "The children read the chapter aloud, one sentence each, and the teacher wrote the new words on the "
                 "board so that everyone could copy them into their books.\r\n";
    const QString book = file(QStringLiteral("book.txt"), prose);
    mArea.resize(800, 600);
    mArea.show();
    mArea.setPlainText(QStringLiteral("keep me"));
    mArea.document()->setModified(true);

    int ticks = 0;
    bool cancel = true;
    bool progressShown = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* status = qobject_cast<StatusDialog*>(widget);
            if (!status || !status->isVisible() || !status->progressBar->isVisible())
                continue;
            progressShown = true;
            if (cancel)
                status->buCancel->click();
        }
    });
    timer.start();
    // Cancelled once its loading window shows: the reading area is as it was.
    EXPECT_FALSE(LoadDocumentByType(&mArea, book, TextMode::Rich));
    EXPECT_TRUE(progressShown) << "the loading window shows how far it is";
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));
    EXPECT_TRUE(mArea.document()->isModified());
    EXPECT_EQ(visibleStatus(), QString());

    // Left to load, it all comes in while timers keep firing.
    cancel = false;
    ticks = 0;
    EXPECT_TRUE(LoadDocumentByType(&mArea, book, TextMode::Rich));
    EXPECT_GT(ticks, 10) << "the event loop kept turning";
    EXPECT_EQ(mArea.document()->characterCount() - 1, prose.size() - prose.count('\r'));
    EXPECT_FALSE(mArea.document()->isModified());
    EXPECT_EQ(visibleStatus(), QString());
    // Loaded over the text there, in parts, it is still one step that Undo takes back.
    mArea.undo();
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));
}

TEST_F(DocumentLoad, WithoutAWordProcessorADocSaysSoAfterClosingTheStatus)
{
    mArea.setPlainText(QStringLiteral("keep me"));
    setWordProcessorProgram(mFolder.filePath(QStringLiteral("no-such-office")));
    load(QStringLiteral("letter.DOC"), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 not really word");
    EXPECT_EQ(mPrompts.messages,
              QStringList{QStringLiteral("MS Word is not installed, unable to load MS Word document.")});
    EXPECT_EQ(mPrompts.messageKinds, QList<MessageKind>{MessageKind::Information});
    EXPECT_EQ(visibleStatus(), QString());
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));
}

TEST_F(DocumentLoad, AWordOrOpenDocumentFileThatIsNoPackageIsDamaged)
{
    mArea.setPlainText(QStringLiteral("keep me"));
    // Were these handed to the converter, it would say it is missing.
    setWordProcessorProgram(mFolder.filePath(QStringLiteral("no-such-office")));
    QByteArray noise(20'000, Qt::Uninitialized);
    QRandomGenerator random(2024);
    for (char& byte : noise)
        byte = char(random.bounded(256));
    load(QStringLiteral("essay.docx"), noise);
    load(QStringLiteral("notes.ODT"), noise);
    load(QStringLiteral("cut.docx"), QByteArray());
    EXPECT_EQ(
        mPrompts.messages,
        (QStringList{QStringLiteral("\"essay.docx\" is damaged or is not a Word document, so it cannot be read."),
                     QStringLiteral("\"notes.ODT\" is damaged or is not an OpenDocument text, so it cannot be "
                                    "read."),
                     QStringLiteral("\"cut.docx\" is damaged or is not a Word document, so it cannot be read.")}));
    EXPECT_EQ(mPrompts.messageKinds, QList<MessageKind>(3, MessageKind::Error));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));

    // A package cut short and an older Word file under the newer name are the converter's to judge.
    mPrompts.messages.clear();
    load(QStringLiteral("short.odt"), "PK\x03\x04 the rest is missing");
    load(QStringLiteral("old.docx"), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 a Word 97 file");
    EXPECT_EQ(mPrompts.messages,
              (QStringList{QStringLiteral("LibreOffice is not installed, unable to load OpenDocument text."),
                           QStringLiteral("LibreOffice is not installed, unable to load Word documents.")}));
}

TEST_F(DocumentLoad, TheStatusWindowShowsWhileTheWordProcessorWorks)
{
    // A converter that works for a moment and then fails the way LibreOffice does: exit code 0, no file.
    const QString script = file(QStringLiteral("office.sh"), "#!/bin/sh\nsleep 1\nexit 0\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
    setWordProcessorProgram(script);
    QString seen;
    QTimer::singleShot(400, [&seen] { seen = visibleStatus(); });
    load(QStringLiteral("letter.doc"), "whatever");
    EXPECT_EQ(seen, QStringLiteral("Loading Document|Document is loading, please wait ..."));
    EXPECT_EQ(visibleStatus(), QString());
    EXPECT_EQ(mPrompts.messages.size(), 1);
}

TEST_F(DocumentLoad, AWordDocumentOpensWithItsFormatting)
{
    if (wordProcessorProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const QString page =
        file(QStringLiteral("source.html"), "<html><body><p>Dear <b>reader</b>, <font color=\"#0000ff\">blue</font></p>"
                                            "<p>Second paragraph</p></body></html>");
    const QString doc = file(QStringLiteral("LETTER.DOC"), convertDocument(page, QStringLiteral("doc:MS Word 97")));
    LoadDocumentByType(&mArea, doc, TextMode::Rich);
    EXPECT_TRUE(mPrompts.messages.isEmpty()) << mPrompts.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Dear reader, blue\nSecond paragraph"));
    EXPECT_TRUE(formatOf(QStringLiteral("reader")).font().bold());
    EXPECT_EQ(formatOf(QStringLiteral("blue")).foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(visibleStatus(), QString());
}

TEST_F(DocumentLoad, PlainModeDropsFormattingAndKeepsTheRest)
{
    load(QStringLiteral("letter.rtf"), ColouredRtf);
    QTextCursor selection(mArea.document());
    selection.setPosition(6);
    selection.setPosition(10, QTextCursor::KeepAnchor);
    mArea.setTextCursor(selection);
    mArea.document()->setModified(true);

    TextMode mode = TextMode::Rich;
    SwitchTextMode(&mArea, mode, TextMode::Plain);
    EXPECT_EQ(mode, TextMode::Plain);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Hello bold red world\nsecond"));
    EXPECT_FALSE(hasFormatting());
    EXPECT_EQ(mArea.textCursor().anchor(), 6);
    EXPECT_EQ(mArea.textCursor().position(), 10);
    EXPECT_TRUE(mArea.document()->isModified());

    // Back in rich mode the formatting stays lost, and rich text loads with its formatting again.
    SwitchTextMode(&mArea, mode, TextMode::Rich);
    EXPECT_EQ(mode, TextMode::Rich);
    EXPECT_FALSE(hasFormatting());
    load(QStringLiteral("letter.rtf"), ColouredRtf, mode);
    EXPECT_TRUE(hasFormatting());
}

TEST_F(DocumentLoad, TheOpenDialogListsEveryTypeAfterTheFirstFive)
{
    EXPECT_EQ(openDocumentDialog().filter,
              QStringLiteral("Valid Documents (*.rtf;*.html;*.htm;*.txt;*.doc;*.docx;*.dotx;*.odt;*.ott;*.pdf;*.epub;"
                             "*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.webp;*.gif)|"
                             "*.rtf;*.html;*.htm;*.txt;*.doc;*.docx;*.dotx;*.odt;*.ott;*.pdf;*.epub;"
                             "*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.webp;*.gif|"
                             "HTML Document (*.htm;*.html)|*.htm;*.html|Rich Text Files (*.rtf)|*.rtf|"
                             "Text Files (*.txt)|*.txt|Microsoft Word Document (*.doc)|*.doc|"
                             "Word Document (*.docx;*.dotx)|*.docx;*.dotx|OpenDocument Text (*.odt;*.ott)|*.odt;*.ott|"
                             "PDF Document (*.pdf)|*.pdf|EPUB Book (*.epub)|*.epub|"
                             "Pictures and Scans (*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.webp;*.gif)|"
                             "*.png;*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.webp;*.gif|All Files (*.*)|*.*"));
}

TEST_F(DocumentLoad, TheDesktopEntryOffersEveryTypeTheProgramOpens)
{
    QFile entry(QStringLiteral(PARLIVO_SOURCE_DIR "/resources/desktop/parlivo.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("MimeType=") + documentMimeTypes()));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=parlivo %f")));
}

TEST_F(DocumentLoad, EachFailureComesBackAsItsKindWithTheMessageUsersSee)
{
    using Kind = DocumentLoadError::Kind;
    const auto native = [this](const QString& name) { return QDir::toNativeSeparators(mFolder.filePath(name)); };
    const QByteArray book = [this] {
        fixtures::zip(mFolder.filePath(QStringLiteral("book.epub")),
                      fixtures::epubEntries({{QStringLiteral("one.xhtml"), "<h1>Title</h1><p>Words</p>"}}));
        QFile file(mFolder.filePath(QStringLiteral("book.epub")));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    struct Case
    {
        QString name;
        std::function<void(const QString& path)> make; // the file at `path`, and the converter it meets
        Kind kind;
        QString message;
    };
    const QList<Case> cases = {
        {QStringLiteral("gone.txt"), [](const QString&) {}, Kind::NotFound,
         QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(native(QStringLiteral("gone.txt")))},
        {QStringLiteral("folder.pdf"), [](const QString& path) { QDir().mkdir(path); }, Kind::NotReadable,
         QStringLiteral("Cannot open file \"%1\". It is not a file.").arg(native(QStringLiteral("folder.pdf")))},
        // Opening a named pipe would wait for a writer that never comes.
        {QStringLiteral("pipe.docx"), [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); },
         Kind::NotReadable,
         QStringLiteral("Cannot open file \"%1\". It is not a file.").arg(native(QStringLiteral("pipe.docx")))},
        // Sparse: it takes no disk space.
        {QStringLiteral("huge.txt"),
         [](const QString& path) {
             QFile huge(path);
             ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(256 * 1024 * 1024 + 1));
         },
         Kind::TooLarge,
         QStringLiteral("Cannot open file \"%1\". It is larger than 256 MB.").arg(native(QStringLiteral("huge.txt")))},
        {QStringLiteral("blank.pdf"), [](const QString& path) { fixtures::writeFile(path, pdfWithoutText(false)); },
         Kind::NoText, QStringLiteral("\"blank.pdf\" has no text to read, not even in the pictures of its pages.")},
        {QStringLiteral("locked.pdf"), [](const QString& path) { fixtures::writeFile(path, pdfWithoutText(true)); },
         Kind::PasswordProtected, QStringLiteral("\"locked.pdf\" is protected by a password, so it cannot be read.")},
        {QStringLiteral("drm.epub"),
         [](const QString& path) {
             QList<fixtures::ZipEntry> entries = fixtures::epubEntries({{QStringLiteral("one.xhtml"), "<p>Words</p>"}});
             entries << fixtures::ZipEntry{
                 QStringLiteral("META-INF/encryption.xml"),
                 "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
                 "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod "
                 "Algorithm=\"http://www.w3.org/2001/04/xmlenc#aes128-cbc\"/><enc:CipherData><enc:CipherReference "
                 "URI=\"OEBPS/text/one.xhtml\"/></enc:CipherData></enc:EncryptedData></encryption>"};
             fixtures::zip(path, entries);
         },
         Kind::CopyProtected, QStringLiteral("\"drm.epub\" is protected against copying (DRM), so it cannot be read.")},
        {QStringLiteral("cut.pdf"),
         [](const QString& path) { fixtures::writeFile(path, pdfWithoutText(false).left(60)); }, Kind::Damaged,
         QStringLiteral("\"cut.pdf\" is damaged or is not a PDF document, so it cannot be read.")},
        {QStringLiteral("cut.epub"),
         [&book](const QString& path) { fixtures::writeFile(path, book.left(book.size() / 2)); }, Kind::Damaged,
         QStringLiteral("\"cut.epub\" is damaged or is not an EPUB book, so it cannot be read.")},
        // Zip packages, so that they get as far as the converter: a missing one, then one that fails the way
        // LibreOffice does (exit code 0, no file).
        {QStringLiteral("memo.odt"),
         [this](const QString& path) {
             fixtures::zip(path, {{QStringLiteral("content.xml"), "<office:document-content/>"}});
             setWordProcessorProgram(mFolder.filePath(QStringLiteral("no-such-office")));
         },
         Kind::ConverterMissing, QStringLiteral("LibreOffice is not installed, unable to load OpenDocument text.")},
        {QStringLiteral("letter.docx"),
         [this](const QString& path) {
             fixtures::zip(path, {{QStringLiteral("word/document.xml"), "<w:document/>"}});
             const QString script = file(QStringLiteral("office.sh"), "#!/bin/sh\nexit 0\n");
             QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
             setWordProcessorProgram(script);
         },
         Kind::ConverterFailed,
         QStringLiteral("\"letter.docx\" is damaged or is not a document LibreOffice can open, so it cannot be read.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = mFolder.filePath(c.name);
        c.make(path);
        for (const TextMode mode : {TextMode::Rich, TextMode::Plain}) {
            const DocumentLoadResult loaded = loadDocument(path, mode);
            ASSERT_TRUE(loaded.error);
            EXPECT_EQ(loaded.error->kind, c.kind);
            EXPECT_EQ(loaded.error->message, c.message);
        }
    }

    // The system's reason for a file it will not open; root may open anything.
    if (::geteuid() != 0) {
        const QString locked = file(QStringLiteral("private.pdf"), "%PDF-1.4");
        QFile::setPermissions(locked, {});
        const DocumentLoadResult loaded = loadDocument(locked, TextMode::Rich);
        ASSERT_TRUE(loaded.error);
        EXPECT_EQ(loaded.error->kind, Kind::NotReadable);
        EXPECT_EQ(
            loaded.error->message,
            QStringLiteral("Cannot open file \"%1\". Permission denied").arg(native(QStringLiteral("private.pdf"))));
    }

    ReadProgress stopped;
    stopped.stop = true;
    const DocumentLoadResult cancelled =
        loadDocument(mFolder.filePath(QStringLiteral("book.epub")), TextMode::Rich, &stopped);
    ASSERT_TRUE(cancelled.error);
    EXPECT_EQ(cancelled.error->kind, Kind::Cancelled);
    EXPECT_TRUE(mPrompts.messages.isEmpty());
}

TEST_F(DocumentLoad, ABookLoadsWithoutAReadingAreaItsHeadingsBoldInRichModeOnly)
{
    const QString book = mFolder.filePath(QStringLiteral("book.epub"));
    ASSERT_TRUE(
        fixtures::zip(book, fixtures::epubEntries({{QStringLiteral("one.xhtml"), "<h1>Title</h1><p>Words</p>"}})));
    for (const TextMode mode : {TextMode::Rich, TextMode::Plain}) {
        const DocumentLoadResult loaded = loadDocument(book, mode);
        ASSERT_FALSE(loaded.error);
        QTextDocument document;
        document.setPlainText(QStringLiteral("old text"));
        loaded.document.putInto(&document);
        EXPECT_EQ(document.toPlainText(), QStringLiteral("Title\nWords"));
        EXPECT_EQ(QTextCursor(document.begin()).charFormat().font().bold(), mode == TextMode::Rich);
        EXPECT_FALSE(document.isModified());
        EXPECT_FALSE(document.isUndoAvailable());
    }
}
