#include "formats/WordProcessorImport.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

// Rich text travels between Parlivo and LibreOffice in both directions with its look. Each conversion
// takes LibreOffice one to two seconds, so the checks share one document.

namespace {

const char* const FormattedPage =
    "<html><body><p><b>Bold</b> <i>Italic</i> <font color=\"#ff0000\">Red</font> "
    "<span style=\"font-size:20pt\">Big</span> <u>Under</u> <span style=\"background:#ffff00\">Marked</span> "
    "caf\xC3\xA9 \xCE\xA9</p><p align=\"center\">Centred</p></body></html>";

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QTextCharFormat formatOf(QTextDocument& document, const QString& word)
{
    QTextCursor cursor(&document);
    cursor.setPosition(static_cast<int>(document.toPlainText().indexOf(word)) + 1);
    return cursor.charFormat();
}

} // namespace

TEST(RtfLibreOffice, FilesWrittenByLibreOfficeOpenWithTheirLook)
{
    if (wordProcessorProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    const QString page = writeFile(folder, QStringLiteral("page.html"), FormattedPage);
    const QByteArray rtf = convertDocument(page, QStringLiteral("rtf:Rich Text Format"));
    ASSERT_TRUE(isRtf(rtf));

    QTextDocument document;
    readRtf(rtf, &document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral(u"Bold Italic Red Big Under Marked café Ω\nCentred"));
    EXPECT_TRUE(formatOf(document, QStringLiteral("Bold")).font().bold());
    EXPECT_FALSE(formatOf(document, QStringLiteral("Italic")).font().bold());
    EXPECT_TRUE(formatOf(document, QStringLiteral("Italic")).fontItalic());
    EXPECT_EQ(formatOf(document, QStringLiteral("Red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(document, QStringLiteral("Big")).fontPointSize(), 20);
    EXPECT_TRUE(formatOf(document, QStringLiteral("Under")).fontUnderline());
    EXPECT_EQ(formatOf(document, QStringLiteral("Marked")).background().color(), QColor(255, 255, 0));
    EXPECT_EQ(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // What we write from that document, LibreOffice shows the same way.
    const QString ours = writeFile(folder, QStringLiteral("ours.rtf"), writeRtf(&document));
    const QString html = QString::fromUtf8(convertDocument(ours, QStringLiteral("html")));
    EXPECT_TRUE(html.contains(QLatin1String("<b>Bold</b>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QLatin1String("<i>Italic</i>")));
    EXPECT_TRUE(html.contains(QLatin1String("<u>Under</u>")));
    EXPECT_TRUE(html.contains(QLatin1String("#ff0000\">")));
    EXPECT_TRUE(html.contains(QLatin1String("font-size: 20pt")));
    EXPECT_TRUE(html.contains(QLatin1String("background: #ffff00")));
    EXPECT_TRUE(html.contains(QStringLiteral(u"café Ω")));
    EXPECT_TRUE(html.contains(QLatin1String("align=\"center\"")));
}
