// Text recognised in pictures and scanned PDFs that the tests draw, through the loader as the program uses it.
#include "formats/TextRecognition.h"
#include "formats/DocumentLoading.h"
#include "formats/PdfReader.h"
#include "support/DocumentFixtures.h"
#include "support/PicturePages.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

using Kind = DocumentLoadError::Kind;

class TextRecognition : public ::testing::Test
{
protected:
    QString save(const QImage& image, const QString& name, int quality = -1)
    {
        const QString path = mFolder.filePath(name);
        EXPECT_TRUE(image.save(path, nullptr, quality));
        return path;
    }

    // The loaded text, one paragraph a line; the error message when it failed.
    QString load(const QString& path, ReadProgress* progress = nullptr)
    {
        const DocumentLoadResult loaded = loadDocument(path, TextMode::Plain, progress);
        if (loaded.error)
            return loaded.error->message;
        QTextDocument document;
        loaded.document.putInto(&document);
        return document.toPlainText();
    }

    QTemporaryDir mFolder;
    const QString mSource = pictures::sourceText(pictures::Worksheet);
};

TEST_F(TextRecognition, PagesReadAsTheirSourceHoweverTheyWereScanned)
{
    const QImage page = pictures::typesetPage(pictures::Worksheet, 300);
    const QList<QPair<QString, QString>> scans = {
        {save(page, QStringLiteral("straight.png")), QStringLiteral("300 dpi")},
        {save(pictures::typesetPage(pictures::Worksheet, 150), QStringLiteral("low.png")), QStringLiteral("150 dpi")},
        {save(pictures::turned(page, 90), QStringLiteral("side.tif")), QStringLiteral("turned 90")},
        {save(pictures::turned(page, 180), QStringLiteral("upside.bmp")), QStringLiteral("turned 180")},
        {save(pictures::turned(page, 1.5), QStringLiteral("skewed.webp")), QStringLiteral("skewed 1.5")},
        {save(pictures::speckled(pictures::turned(page, -1), 0.01), QStringLiteral("photo.jpg"), 35),
         QStringLiteral("noise and JPEG")},
    };
    for (const auto& [path, what] : scans) {
        const QString text = load(path);
        EXPECT_GE(pictures::wordSimilarity(mSource, text), 0.95) << what.toStdString() << ": " << text.toStdString();
    }
    // Two columns read one after the other, not line by line across.
    const QImage left = pictures::typesetPage({pictures::Worksheet[0]}, 300, 3.5);
    const QImage right = pictures::typesetPage({pictures::Worksheet[1]}, 300, 3.5);
    QImage columns(left.width() + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
    columns.fill(Qt::white);
    columns.setDotsPerMeterX(left.dotsPerMeterX());
    columns.setDotsPerMeterY(left.dotsPerMeterY());
    {
        QPainter painter(&columns);
        painter.drawImage(0, 0, left);
        painter.drawImage(left.width(), 0, right);
    }
    const QString twoColumns = load(save(columns, QStringLiteral("columns.png")));
    EXPECT_GE(pictures::wordSimilarity(mSource, twoColumns), 0.95) << twoColumns.toStdString();

    // Paragraphs as drawn, words broken at line ends whole again.
    const QString straight = load(scans[0].first);
    EXPECT_EQ(straight.count(QLatin1Char('\n')), 1) << straight.toStdString();
    EXPECT_FALSE(straight.contains(QRegularExpression(QStringLiteral("\\w- ")))) << straight.toStdString();
}

TEST_F(TextRecognition, PhonePhotosReadAtLeastAsWellAsTheTesseractCommandReadsThem)
{
    if (QStandardPaths::findExecutable(QStringLiteral("tesseract")).isEmpty())
        GTEST_SKIP() << "the tesseract command (Debian package tesseract-ocr) is not installed";
    const QStringList letter = {
        QStringLiteral("Dear Parents,"),
        QStringLiteral("Our class trip to the museum is on Friday. Please bring a packed lunch and a raincoat. The "
                       "coach leaves at nine and will come back at three."),
        QStringLiteral("Thank you, Mrs Patel"),
    };
    const QStringList worksheet = {
        QStringLiteral("Name:              Date:              Class: 4B"),
        QStringLiteral("The Water Cycle"),
        QStringLiteral("When the sun warms the sea, some of the water turns into a gas called water vapour. This is "
                       "evaporation. The vapour rises high in the sky, where it cools into tiny drops that make "
                       "clouds."),
        QStringLiteral("When the drops grow heavy they fall as rain, snow or hail, run into rivers and flow back to "
                       "the sea."),
    };
    using pictures::Photo;
    const QList<QPair<Photo, QString>> photos = {
        {Photo{worksheet, 18, -2, QColor(0xDD, 0xE8, 0xF4), 1, 10}, QStringLiteral("small type, blue paper")},
        {Photo{letter, 34, 3, QColor(0xF4, 0xE9, 0xC8), 1.2, 12}, QStringLiteral("letter turned 3 degrees")},
        {Photo{worksheet, 46, 4, QColor(0xF6, 0xF0, 0xE0), 1.5, 16}, QStringLiteral("worksheet turned 4 degrees")},
        {Photo{worksheet, 96, -3.5, QColor(0xEE, 0xEE, 0xE4), 2, 14}, QStringLiteral("large type")},
        {Photo{letter, 150, -1, QColor(0xFA, 0xE6, 0xE6), 3, 20}, QStringLiteral("very large type")},
    };
    for (const auto& [photo, what] : photos) {
        const QString path = save(pictures::photographed(photo), QStringLiteral("photo.jpg"), 60);
        const QString truth = photo.paragraphs.join(QLatin1Char(' '));
        ReadProgress progress;
        const QString ours = load(path, &progress);
        const QString command = pictures::tesseractCommandText(path);
        const double ourSimilarity = pictures::wordSimilarity(truth, ours);
        const double commandSimilarity = pictures::wordSimilarity(truth, command);
        std::printf("%s: Parlivo %.3f, tesseract command %.3f\n", qPrintable(what), ourSimilarity, commandSimilarity);
        EXPECT_GE(ourSimilarity, commandSimilarity)
            << what.toStdString() << ": " << ours.toStdString() << "\n--- " << command.toStdString();
        EXPECT_GE(ourSimilarity, 0.8) << what.toStdString() << ": " << ours.toStdString();
    }
}

TEST_F(TextRecognition, ScannedAndMixedPdfsReadEveryPageInOrder)
{
    const QString path = mFolder.filePath(QStringLiteral("mixed.pdf"));
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QSizeF(6, 4), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        // The first page scanned twice, as happens at a feeder: read twice.
        const QImage first = pictures::typesetPage({pictures::Worksheet[0]}, 300);
        painter.drawImage(QPointF(0, 0), first);
        writer.newPage();
        painter.drawImage(QPointF(0, 0), first);
        writer.newPage();
        painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 12));
        painter.drawText(QRectF(150, 150, 1500, 900), Qt::TextWordWrap, QStringLiteral("Typeset between the scans."));
        writer.newPage();
        painter.drawImage(QPointF(0, 0), pictures::typesetPage({pictures::Worksheet[1]}, 300));
    }
    ReadProgress progress;
    const QString text = load(path, &progress);
    const QString firstText = pictures::sourceText({pictures::Worksheet[0]});
    const QString expected = firstText + QLatin1Char(' ') + firstText + QStringLiteral(" Typeset between the scans. ") +
                             pictures::sourceText({pictures::Worksheet[1]});
    EXPECT_GE(pictures::wordSimilarity(expected, text), 0.95) << text.toStdString();
    EXPECT_EQ(progress.total, 3); // the scanned pages, counted as they are recognised
    EXPECT_TRUE(progress.doubtfulPages.isEmpty());
}

TEST_F(TextRecognition, TheLanguageFollowsTheVoiceWhenItsDataIsInstalled)
{
    EXPECT_EQ(recognitionLanguageFor(QStringLiteral("en-gb")), QStringLiteral("eng"));
    EXPECT_EQ(recognitionLanguageFor(QStringLiteral("tlh")), QStringLiteral("eng"));
    EXPECT_EQ(recognitionLanguageFor(QString()), QStringLiteral("eng"));
    EXPECT_FALSE(recognitionLanguages().contains(QStringLiteral("osd")));
    if (!recognitionLanguages().contains(QStringLiteral("fra")))
        GTEST_SKIP() << "tesseract-ocr-fra is not installed";
    EXPECT_EQ(recognitionLanguageFor(QStringLiteral("fr-fr")), QStringLiteral("fra"));
    EXPECT_EQ(recognitionLanguageFor(QStringLiteral("eng+fra")), QStringLiteral("eng+fra"));
}

quint32 crc32(const char* data, int size)
{
    quint32 crc = 0xFFFFFFFF;
    for (int i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// A PNG whose header claims `width` x `height` pixels, with a valid checksum and no picture behind it.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(png.constData() + 12, 17), png.data() + 29);
    return png;
}

TEST_F(TextRecognition, BadPicturesSayWhyAndBlankOnesHaveNoText)
{
    QByteArray whole;
    {
        QBuffer buffer(&whole);
        buffer.open(QIODevice::WriteOnly);
        pictures::typesetPage(pictures::Worksheet, 150).save(&buffer, "PNG");
    }
    struct Case
    {
        QString name;
        QByteArray bytes;
        Kind kind;
        QString message;
    };
    QImage blank(600, 400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const QList<Case> cases = {
        {QStringLiteral("empty.png"),
         {},
         Kind::Damaged,
         QStringLiteral("\"empty.png\" is damaged or is not a picture, so it cannot be read.")},
        {QStringLiteral("cut.png"), whole.left(whole.size() / 3), Kind::Damaged,
         QStringLiteral("\"cut.png\" is damaged or is not a picture, so it cannot be read.")},
        {QStringLiteral("words.jpg"), "not a picture at all", Kind::Damaged,
         QStringLiteral("\"words.jpg\" is damaged or is not a picture, so it cannot be read.")},
        {QStringLiteral("bomb.png"), pngClaiming(30000, 30000), Kind::TooLarge,
         QStringLiteral("\"bomb.png\" is a picture of 30000 x 30000 pixels, too large to be read.")},
    };
    for (const Case& test : cases) {
        const DocumentLoadResult loaded =
            loadDocument(fixtures::writeFile(mFolder.filePath(test.name), test.bytes), TextMode::Rich);
        ASSERT_TRUE(loaded.error) << test.name.toStdString();
        EXPECT_EQ(loaded.error->kind, test.kind) << test.name.toStdString();
        EXPECT_EQ(loaded.error->message, test.message);
    }
    // A blank page, and strips so long and thin that shrinking them for the orientation check leaves nothing.
    QImage tall(3, 20000, QImage::Format_RGB32);
    tall.fill(Qt::white);
    for (const auto& [picture, name] :
         {std::pair{blank, QStringLiteral("blank.png")}, std::pair{tall, QStringLiteral("tall.png")},
          std::pair{tall.transformed(QTransform().rotate(90)), QStringLiteral("wide.png")}}) {
        const DocumentLoadResult empty = loadDocument(save(picture, name), TextMode::Rich);
        ASSERT_TRUE(empty.error) << name.toStdString();
        EXPECT_EQ(empty.error->kind, Kind::NoText);
        EXPECT_EQ(empty.error->message, QStringLiteral("\"%1\" has no text that Parlivo can recognise.").arg(name));
    }
}

TEST_F(TextRecognition, AStopRequestCancelsAndTheOtherPagesOfATiffAreRead)
{
    const QString single = save(pictures::typesetPage(pictures::Worksheet, 150), QStringLiteral("page.png"));
    ReadProgress stopped;
    stopped.stop = true;
    const DocumentLoadResult cancelled = loadDocument(single, TextMode::Rich, &stopped);
    ASSERT_TRUE(cancelled.error);
    EXPECT_EQ(cancelled.error->kind, Kind::Cancelled);

    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick is not installed to make a TIFF of several pages";
    const QString second = save(pictures::typesetPage({QStringLiteral("The second page closes the worksheet.")}, 150),
                                QStringLiteral("two.png"));
    const QString tiff = mFolder.filePath(QStringLiteral("pages.tiff"));
    ASSERT_EQ(QProcess::execute(convert, {single, second, tiff}), 0);
    ReadProgress progress;
    const QString text = load(tiff, &progress);
    EXPECT_GE(pictures::wordSimilarity(mSource + QStringLiteral(" The second page closes the worksheet."), text), 0.95)
        << text.toStdString();
    EXPECT_EQ(progress.total, 2);
    EXPECT_EQ(progress.done, 2);

    // A long TIFF takes time in proportion to its pages, not to their square: a thousand blank pages before the
    // worksheet took over a minute.
    QImage blank(425, 550, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QList<int> order(1000, 0);
    order << 1;
    const QString longTiff =
        fixtures::writeFile(mFolder.filePath(QStringLiteral("long.tiff")),
                            pictures::tiffOfPages({blank, pictures::typesetPage(pictures::Worksheet, 200)}, order));
    QElapsedTimer timer;
    timer.start();
    const QString last = load(longTiff);
    EXPECT_LT(timer.elapsed(), 20'000);
    EXPECT_GE(pictures::wordSimilarity(mSource, last), 0.95) << last.toStdString();
}

// Everything the picture decoders write to standard error while `load` runs.
template <typename Load> QByteArray standardErrorOf(const Load& load)
{
    QTemporaryFile capture;
    EXPECT_TRUE(capture.open());
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    load();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

TEST_F(TextRecognition, OddPicturesAreReadWithoutTheDecodersWarningsOnStandardError)
{
    // A PNG whose note has a damaged checksum, and a TIFF with a private tag: both read, and libpng and libtiff
    // warned of them on standard error.
    QImage page = pictures::typesetPage(pictures::Worksheet, 150);
    page.setText(QStringLiteral("Title"), QStringLiteral("Worksheet"));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        page.save(&buffer, "PNG");
    }
    const qsizetype note = png.indexOf("tEXt");
    ASSERT_GT(note, 4);
    png[note + 4 + qFromBigEndian<quint32>(png.constData() + note - 4)] ^= 0x55;
    const QString pngPath = fixtures::writeFile(mFolder.filePath(QStringLiteral("note.png")), png);
    const QString tiffPath = fixtures::writeFile(mFolder.filePath(QStringLiteral("tagged.tif")),
                                                 pictures::tiffOfPages({page}, {0, 0}, true));
    for (const QString& path : {pngPath, tiffPath}) {
        QString text;
        const QByteArray errors = standardErrorOf([&] { text = load(path); });
        EXPECT_TRUE(errors.isEmpty()) << path.toStdString() << ": " << errors.toStdString();
        EXPECT_GE(pictures::wordSimilarity(mSource, text.section(QLatin1Char('\n'), 0, 1)), 0.95) << text.toStdString();
    }
}

TEST_F(TextRecognition, PagesThatMayBeMisreadAreNamed)
{
    EXPECT_EQ(misreadPagesNote({}), QString());
    EXPECT_EQ(misreadPagesNote({3}), QStringLiteral("Page 3 may be misread"));
    EXPECT_EQ(misreadPagesNote({2, 5, 9}), QStringLiteral("Pages 2, 5 and 9 may be misread"));
    // Small type under specks: read, but not with confidence.
    ReadProgress progress;
    const QImage poor = pictures::speckled(pictures::typesetPage(pictures::Worksheet, 60, 9), 0.02);
    const QString text = load(save(poor, QStringLiteral("poor.png")), &progress);
    EXPECT_EQ(progress.doubtfulPages, QList<int>{1}) << text.toStdString();
}

} // namespace
