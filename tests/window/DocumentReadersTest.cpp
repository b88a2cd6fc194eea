// PDF, Word, OpenDocument and EPUB files made by TeX, LibreOffice and QuaZip, opened into the reading area.
#include "window/readingarea/DocumentLoader.h"
#include "formats/EpubReader.h"
#include "formats/PdfReader.h"
#include "fakes/ScriptedPrompts.h"
#include "formats/WordProcessorImport.h"
#include "support/DocumentFixtures.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

const QStringList Paragraphs = {
    QStringLiteral("The river carried the boat past the village where the children waited for their teacher to "
                   "arrive with the new books and the maps of the northern mountains."),
    QStringLiteral("Everyone wanted to understand the extraordinary circumstances of the expedition, and the "
                   "responsibility that the international committee had characteristically placed upon the "
                   "youngest travellers."),
    QStringLiteral("Unquestionably the most remarkable discovery was the correspondence between the "
                   "photographs and the descriptions written by the nineteenth century geographers."),
};

QStringList words(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

class DocumentReaders : public ::testing::Test
{
protected:
    void SetUp() override { mArea.setPlainText(QStringLiteral("keep me")); }

    // Loads and returns the message shown, if any.
    QString load(const QString& path)
    {
        mPrompts.messages.clear();
        LoadDocumentByType(&mArea, path, TextMode::Rich);
        return mPrompts.messages.join(QLatin1Char('\n'));
    }

    QString path(const QString& name) const { return mFolder.filePath(name); }

    bool bold(const QString& word) const
    {
        QTextCursor cursor(mArea.document());
        cursor.setPosition(static_cast<int>(mArea.toPlainText().indexOf(word)) + 1);
        return cursor.charFormat().font().bold();
    }

    QTemporaryDir mFolder;
    QTextEdit mArea;
    ScriptedPrompts mPrompts;
};

} // namespace

TEST_F(DocumentReaders, ATexTypesetPdfReadsAsItsParagraphs)
{
    QString body;
    for (int i = 0; i < 12; ++i)
        body += Paragraphs[i % 3] + QStringLiteral("\n\n");
    const QString pdf = fixtures::texPdf(
        mFolder.path(), QStringLiteral("sheet"),
        QStringLiteral("\\documentclass{article}\\setlength{\\textwidth}{7cm}\\setlength{\\textheight}{9cm}"
                       "\\pagestyle{myheadings}\\markright{Reading Worksheet}\\begin{document}"
                       "\\section*{Rivers and Mountains}\n") +
            body + QStringLiteral("\\end{document}\n"));
    if (pdf.isEmpty())
        GTEST_SKIP() << "TeX (pdflatex) is not installed";

    EXPECT_EQ(load(pdf), QString());
    QStringList expected{QStringLiteral("Rivers and Mountains")};
    for (int i = 0; i < 12; ++i)
        expected << Paragraphs[i % 3];
    EXPECT_EQ(mArea.toPlainText().split(QLatin1Char('\n')), expected);
    EXPECT_TRUE(bold(QStringLiteral("Mountains")));
    EXPECT_FALSE(bold(QStringLiteral("river")));

    // Word for word what poppler's own pdftotext reads, less the running head, page numbers and broken words.
    const QString reference = fixtures::pdftotext(pdf);
    if (reference.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QStringList lines = reference.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) {
        return line.trimmed() == QLatin1String("Reading Worksheet") ||
               line.trimmed().contains(QRegularExpression(QStringLiteral("^\\d+$")));
    });
    QString joined = lines.join(QLatin1Char('\n'));
    joined.replace(QRegularExpression(QStringLiteral("(\\p{Ll})-\\n(\\p{Ll})")), QStringLiteral("\\1\\2"));
    EXPECT_EQ(words(mArea.toPlainText()), words(expandLigatures(joined)));
}

TEST_F(DocumentReaders, PdfsThatCannotBeReadSaySoAndLeaveTheReadingAlone)
{
    const QString scan = fixtures::texPdf(
        mFolder.path(), QStringLiteral("scan"),
        QStringLiteral(
            "\\documentclass{article}\\pagestyle{empty}\\begin{document}\\rule{8cm}{12cm}\\end{document}\n"));
    if (scan.isEmpty())
        GTEST_SKIP() << "TeX (pdflatex) is not installed";
    EXPECT_EQ(load(scan), QStringLiteral("\"scan.pdf\" has no text to read, not even in the pictures of its pages."));

    QFile whole(scan);
    whole.open(QIODevice::ReadOnly);
    fixtures::writeFile(path(QStringLiteral("cut.pdf")), whole.read(whole.size() / 3));
    EXPECT_EQ(load(path(QStringLiteral("cut.pdf"))),
              QStringLiteral("\"cut.pdf\" is damaged or is not a PDF document, so it cannot be read."));
    EXPECT_EQ(mPrompts.messageKinds.last(), MessageKind::Error);
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));

    if (wordProcessorProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed to make a PDF with a password";
    const QString page = fixtures::writeFile(path(QStringLiteral("secret.html")), "<p>Secret words</p>");
    const QByteArray locked = convertDocument(
        page, QStringLiteral("pdf:writer_pdf_Export:{\"EncryptFile\":{\"type\":\"boolean\",\"value\":\"true\"},"
                             "\"DocumentOpenPassword\":{\"type\":\"string\",\"value\":\"secret\"}}"));
    fixtures::writeFile(path(QStringLiteral("secret.pdf")), locked);
    EXPECT_EQ(load(path(QStringLiteral("secret.pdf"))),
              QStringLiteral("\"secret.pdf\" is protected by a password, so it cannot be read."));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));
}

TEST_F(DocumentReaders, WordAndOpenDocumentFilesReadAsLibreOfficeReadsThem)
{
    if (wordProcessorProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const QString page = fixtures::writeFile(
        path(QStringLiteral("source.html")),
        "<html><body><h1>Worksheet</h1><p>Dear <b>reader</b>, <i>read</i> <font color=\"#0000ff\">this</font>.</p>"
        "<ul><li>first item</li><li>second item</li></ul><p>" +
            Paragraphs[0].toUtf8() + "</p></body></html>");
    for (const QString& type : {QStringLiteral("docx"), QStringLiteral("odt")}) {
        SCOPED_TRACE(type.toStdString());
        const QString file = fixtures::writeFile(path(QStringLiteral("sheet.") + type),
                                                 convertDocument(page, type == QLatin1String("docx")
                                                                           ? QStringLiteral("docx:MS Word 2007 XML")
                                                                           : QStringLiteral("odt:writerweb8_writer")));
        EXPECT_EQ(load(file), QString());
        QString reference = QString::fromUtf8(convertDocument(file, QStringLiteral("txt:Text (encoded):UTF8")));
        reference.remove(QChar(0xFEFF));
        // Word for word: LibreOffice's text export sets list bullets apart with spaces, the reading area with a tab.
        EXPECT_EQ(words(mArea.toPlainText()), words(reference));
        EXPECT_TRUE(bold(QStringLiteral("reader")));
        EXPECT_FALSE(bold(QStringLiteral("Dear")));
    }

    // A damaged .docx is told apart from a missing LibreOffice, and .doc keeps its one message.
    fixtures::writeFile(path(QStringLiteral("broken.docx")), "PK\x03\x04 not a whole zip");
    EXPECT_EQ(
        load(path(QStringLiteral("broken.docx"))),
        QStringLiteral("\"broken.docx\" is damaged or is not a document LibreOffice can open, so it cannot be read."));
    setWordProcessorProgram(path(QStringLiteral("no-such-office")));
    EXPECT_EQ(load(path(QStringLiteral("sheet.odt"))),
              QStringLiteral("LibreOffice is not installed, unable to load OpenDocument text."));
    setWordProcessorProgram(QString());
}

TEST_F(DocumentReaders, AnEpubReadsInSpineOrderWithoutScriptsOrStyles)
{
    const QString book = path(QStringLiteral("book.epub"));
    ASSERT_TRUE(fixtures::zip(
        book, fixtures::epubEntries(
                  {{QStringLiteral("z-first.xhtml"),
                    "<h1>Chapter&nbsp;One</h1><style>p { color: red }</style><p>The <b>first</b>\n   paragraph.</p>"
                    "<script>alert('never read')</script><div><p>Nested &mdash; kept, &ecirc;tre</p>tail text</div>"},
                   {QStringLiteral("a-second.xhtml"), "<p>Line one<br/>line two</p><ul><li>an item</li></ul>"}})));
    EXPECT_EQ(load(book), QString());
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Chapter One\nThe first paragraph.\nNested \u2014 kept, \u00EAtre\n"
                                                  "tail text\nLine one\nline two\nan item"));
    EXPECT_TRUE(bold(QStringLiteral("One")));
    EXPECT_FALSE(bold(QStringLiteral("paragraph")));

    // HTML that is not XML is still read, its scripts still left out.
    EXPECT_EQ(xhtmlParagraphs("<p>Caf&eacute; <b>open<p>Next &amp; last<SCRIPT>x()</SCRIPT>"),
              (TextBlocks{{QStringLiteral("Caf\u00E9 open")}, {QStringLiteral("Next & last")}}));
}

TEST_F(DocumentReaders, ProtectedOrDamagedBooksAreRefused)
{
    const auto withEncryption = [](const QByteArray& algorithm) {
        QList<fixtures::ZipEntry> entries = fixtures::epubEntries({{QStringLiteral("one.xhtml"), "<p>Words</p>"}});
        entries << fixtures::ZipEntry{
            QStringLiteral("META-INF/encryption.xml"),
            "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
            "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod Algorithm=\"" +
                algorithm +
                "\"/><enc:CipherData><enc:CipherReference URI=\"OEBPS/text/one.xhtml\"/></enc:CipherData>"
                "</enc:EncryptedData></encryption>"};
        return entries;
    };
    ASSERT_TRUE(
        fixtures::zip(path(QStringLiteral("drm.epub")), withEncryption("http://www.w3.org/2001/04/xmlenc#aes128-cbc")));
    EXPECT_EQ(load(path(QStringLiteral("drm.epub"))),
              QStringLiteral("\"drm.epub\" is protected against copying (DRM), so it cannot be read."));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("keep me"));

    // Obfuscated fonts hide no text.
    ASSERT_TRUE(
        fixtures::zip(path(QStringLiteral("fonts.epub")), withEncryption("http://www.idpf.org/2008/embedding")));
    EXPECT_EQ(load(path(QStringLiteral("fonts.epub"))), QString());
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Words"));

    // A chapter the spine names but the zip lacks.
    QList<fixtures::ZipEntry> missing = fixtures::epubEntries({{QStringLiteral("one.xhtml"), "<p>Words</p>"}});
    missing.removeLast();
    ASSERT_TRUE(fixtures::zip(path(QStringLiteral("missing.epub")), missing));
    EXPECT_EQ(load(path(QStringLiteral("missing.epub"))),
              QStringLiteral("\"missing.epub\" is damaged or is not an EPUB book, so it cannot be read."));
    EXPECT_EQ(mArea.toPlainText(), QStringLiteral("Words"));
}
