#include "formats/TextRecognition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QMutex>
#include <QPainter>
#include <QThread>
#include <QTransform>

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Below this mean word confidence a page is named as possibly misread; clean print scores above 85.
constexpr int DoubtfulConfidence = 65;
// A picture larger than this is no page of text but a decompression bomb: 100 million pixels is a page at
// 1200 dpi.
constexpr qint64 MostPixels = 100'000'000;
constexpr int DecodingLimitMB = 512;
// Text is recognised best at about 300 dpi; smaller pictures (a screen, a page scanned at 150 dpi) are enlarged
// up to this factor, but never past LargestEnlargedSide pixels, so a phone's photo stays as it is.
constexpr double BestDpi = 300;
constexpr double MostEnlargement = 3;
constexpr int LargestEnlargedSide = 4000;
// Tesseract's orientation detection calls 15 reasonably confident; below a few it is guessing.
constexpr float OrientationConfidence = 2.0f;
// Orientation is found on the page made no larger than this, in pixels a side.
constexpr int OrientationSide = 1600;
constexpr int LeastOrientationSide = 16;
// Words recognised with less confidence than this are specks and smudges rather than print.
constexpr float LeastWordConfidence = 40.0f;
// A lone mark ("|", "~") is believed only with more: a speck or a rule at a column's edge reads as one.
constexpr float SureSymbol = 80.0f;

QMutex languageMutex;
QString chosenLanguage = QStringLiteral("eng");

QString dataFolder()
{
    const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return QString::fromLocal8Bit(prefix);
    return QStringLiteral("/usr/share/tesseract-ocr/5/tessdata");
}

[[noreturn]] void missingData(const QString& language)
{
    throw UnreadableDocument(
        UnreadableDocument::Reason::NoText,
        QCoreApplication::translate(
            "TextRecognition", "Parlivo cannot read text in pictures: the recognition data for \"%1\" is not installed "
                               "(Debian package tesseract-ocr-%1).")
            .arg(language.section(QLatin1Char('+'), 0, 0)));
}

// Tesseract parallelises its own line recognition with OpenMP; with one page per core those threads would only
// fight over the cores, so each parallel region runs on the thread that enters it. The limit belongs to each
// thread (OpenMP keeps it per task), so every thread that recognises sets it.
void keepTesseractToThisThread()
{
    omp_set_max_active_levels(0);
}

bool cancelRequested(void* progress, int)
{
    return static_cast<ReadProgress*>(progress)->stop;
}

// The two Tesseract engines one thread uses: the text recogniser and the page orientation finder.
class Recogniser
{
public:
    explicit Recogniser(const QString& language)
    {
        keepTesseractToThisThread();
        if (mText.Init(nullptr, language.toUtf8().constData(), tesseract::OEM_DEFAULT) != 0)
            missingData(language);
        quieten(mText);
        // Without its data the page is read as it lies.
        if (QFileInfo::exists(dataFolder() + QStringLiteral("/osd.traineddata")))
            mHasOrientation = mOrientation.Init(nullptr, "osd", tesseract::OEM_DEFAULT) == 0;
        if (mHasOrientation)
            quieten(mOrientation);
    }

    RecognisedPage recognise(QImage image, ReadProgress* progress)
    {
        image = prepared(std::move(image));
        RecognisedPage page;
        if (image.isNull())
            return page;
        image = upright(std::move(image));
        mText.SetImage(image.constBits(), image.width(), image.height(), 1, int(image.bytesPerLine()));
        mText.SetSourceResolution(int(BestDpi));
        // The whole page laid out into blocks, columns and paragraphs, as the tesseract command does.
        mText.SetPageSegMode(tesseract::PSM_AUTO);
        tesseract::ETEXT_DESC monitor;
        if (progress) {
            monitor.cancel = &cancelRequested;
            monitor.cancel_this = progress;
        }
        const int failed = mText.Recognize(&monitor);
        if (progress && progress->stop)
            throw ReadCancelled();
        page.text.size = image.size();
        if (failed != 0)
            return page;
        page.text.lines = lines();
        if (!page.text.lines.isEmpty())
            page.confidence = mText.MeanTextConf();
        mText.Clear();
        return page;
    }

private:
    static void quieten(tesseract::TessBaseAPI& api)
    {
        // Tesseract writes its estimates and warnings to standard error; the user hears of trouble from us.
        api.SetVariable("debug_file", "/dev/null");
    }

    // Grey, and enlarged when its text is too small to be recognised well.
    static QImage prepared(QImage image)
    {
        if (image.isNull() || image.width() < 3 || image.height() < 3)
            return {};
        // Transparent parts of a screenshot or logo are white paper, not black.
        if (image.hasAlphaChannel()) {
            QImage paper(image.size(), QImage::Format_RGB32);
            paper.fill(Qt::white);
            QPainter(&paper).drawImage(0, 0, image);
            image = paper;
        }
        image = image.convertToFormat(QImage::Format_Grayscale8);
        const double dpi = image.dotsPerMeterX() * 0.0254;
        const int side = std::max(image.width(), image.height());
        const double factor =
            std::min({BestDpi / std::max(dpi, 1.0), MostEnlargement, double(LargestEnlargedSide) / side});
        if (factor > 1.2)
            image = image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return image;
    }

    // The picture turned so its text stands upright; slight skew is left to the recogniser, which follows it.
    QImage upright(QImage image)
    {
        if (!mHasOrientation)
            return image;
        // Orientation shows as well at half the resolution, in a quarter of the time.
        const double shrink = std::min(1.0, double(OrientationSide) / std::max(image.width(), image.height()));
        const QImage small =
            shrink < 1 ? image.scaled(image.size() * shrink, Qt::KeepAspectRatio, Qt::SmoothTransformation) : image;
        // A strip too narrow to hold a line of text has no orientation to find (and shrunk, no pixels at all).
        if (std::min(small.width(), small.height()) < LeastOrientationSide)
            return image;
        mOrientation.SetImage(small.constBits(), small.width(), small.height(), 1, int(small.bytesPerLine()));
        mOrientation.SetSourceResolution(int(BestDpi * shrink));
        int degrees = 0;
        float confidence = 0;
        const char* script = nullptr;
        float scriptConfidence = 0;
        const bool found = mOrientation.DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence);
        mOrientation.Clear();
        if (!found || degrees == 0 || confidence < OrientationConfidence)
            return image;
        // Tesseract names the clockwise turn the picture has taken; turning it back stands it upright.
        return image.transformed(QTransform().rotate(-degrees));
    }

    // The page's lines from its words, leaving out those the recogniser hardly believes in: specks and smudges
    // read as stray letters.
    QList<PdfLine> lines()
    {
        QList<PdfLine> result;
        const std::unique_ptr<tesseract::ResultIterator> it(mText.GetIterator());
        if (!it)
            return result;
        PdfLine line;
        bool open = false;
        const auto finish = [&] {
            if (open && !line.text.isEmpty())
                result << line;
            open = false;
        };
        do {
            if (it->Empty(tesseract::RIL_WORD))
                continue;
            if (!open || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
                finish();
                line = lineAt(*it);
                open = true;
            }
            const std::unique_ptr<char[]> utf8(it->GetUTF8Text(tesseract::RIL_WORD));
            const QString word = expandLigatures(QString::fromUtf8(utf8.get()).trimmed());
            const float confidence = it->Confidence(tesseract::RIL_WORD);
            const bool spoken = std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); });
            if (word.isEmpty() || confidence < LeastWordConfidence || (!spoken && confidence < SureSymbol))
                continue;
            line.text += line.text.isEmpty() ? word : QLatin1Char(' ') + word;
        } while (it->Next(tesseract::RIL_WORD));
        finish();
        // A word broken at a line's end goes on in the next line, whatever the layout analysis made of the break.
        for (qsizetype i = 1; i < result.size(); ++i) {
            const QString& before = result[i - 1].text;
            if (before.size() >= 2 && before.back() == QLatin1Char('-') && before[before.size() - 2].isLetter() &&
                result[i].text.front().isLower())
                result[i].startsParagraph = false;
        }
        return result;
    }

    // An empty line with the place of the line the iterator is in.
    static PdfLine lineAt(const tesseract::ResultIterator& it)
    {
        PdfLine line;
        int left = 0, top = 0, right = 0, bottom = 0;
        it.BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
        line.box = QRectF(QPointF(left, top), QPointF(right, bottom));
        // The height of the type rather than of the letters on this line, so that a line without capitals or
        // descenders is not taken for a change of type.
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        float rowHeight = 0, descenders = 0, ascenders = 0;
        it.RowAttributes(&rowHeight, &descenders, &ascenders);
        if (it.Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2) && rowHeight > 0) {
            const double baseline = (y1 + y2) / 2.0;
            line.box.setTop(baseline - rowHeight);
            line.box.setBottom(baseline - std::min(descenders, 0.0f));
        }
        line.startsParagraph = it.IsAtBeginningOf(tesseract::RIL_PARA) || it.IsAtBeginningOf(tesseract::RIL_BLOCK);
        return line;
    }

    tesseract::TessBaseAPI mText;
    tesseract::TessBaseAPI mOrientation;
    bool mHasOrientation = false;
};

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

[[noreturn]] void damaged(const QString& path)
{
    throw UnreadableDocument(
        UnreadableDocument::Reason::Damaged,
        QCoreApplication::translate("TextRecognition", "\"%1\" is damaged or is not a picture, so it cannot be read.")
            .arg(displayName(path)));
}

[[noreturn]] void tooLarge(const QString& path, QSize size)
{
    throw UnreadableDocument(
        UnreadableDocument::Reason::TooLarge,
        QCoreApplication::translate("TextRecognition", "\"%1\" is a picture of %2 x %3 pixels, too large to be read.")
            .arg(displayName(path))
            .arg(size.width())
            .arg(size.height()));
}

} // namespace

bool RecognisedPage::doubtful() const
{
    return confidence < DoubtfulConfidence;
}

QStringList recognitionLanguages()
{
    QStringList languages;
    const QFileInfoList files =
        QDir(dataFolder()).entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (file.completeBaseName() != QLatin1String("osd"))
            languages << file.completeBaseName();
    }
    return languages;
}

QString recognitionLanguageFor(const QString& language)
{
    const QStringList installed = recognitionLanguages();
    const QStringList parts = language.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() &&
        std::all_of(parts.begin(), parts.end(), [&](const QString& p) { return installed.contains(p); }))
        return parts.join(QLatin1Char('+'));
    // A BCP 47 tag: its language, in the three letters Tesseract names its data by.
    const QString primary = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    const QLocale::Language known = QLocale::codeToLanguage(primary);
    if (known != QLocale::AnyLanguage) {
        const QString code = QLocale::languageToCode(known, QLocale::ISO639Part2T);
        if (installed.contains(code))
            return code;
    }
    return QStringLiteral("eng");
}

void setRecognitionLanguage(const QString& language)
{
    const QString chosen = recognitionLanguageFor(language);
    const QMutexLocker lock(&languageMutex);
    chosenLanguage = chosen;
}

QString recognitionLanguage()
{
    const QMutexLocker lock(&languageMutex);
    return chosenLanguage;
}

RecognisedPage recognisePicture(const QImage& image, const QString& language, ReadProgress* progress)
{
    Recogniser recogniser(language);
    return recogniser.recognise(image, progress);
}

QList<RecognisedPage> recognisePictures(int count, const std::function<QImage(int)>& pageImage, const QString& language,
                                        ReadProgress* progress)
{
    QList<RecognisedPage> pages(count);
    if (count <= 0)
        return pages;
    if (progress) {
        progress->done = 0;
        progress->total = count;
        progress->recognising = true;
    }
    std::atomic<int> next{0};
    std::atomic<bool> stopped{false};
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto work = [&] {
        try {
            std::unique_ptr<Recogniser> recogniser;
            for (int i = next++; i < count && !stopped; i = next++) {
                if (progress && progress->stop)
                    throw ReadCancelled();
                QImage image = pageImage(i);
                // Made on the first page only: a thread that finds no page left costs nothing.
                if (!recogniser)
                    recogniser = std::make_unique<Recogniser>(language);
                pages[i] = recogniser->recognise(std::move(image), progress);
                if (progress)
                    ++progress->done;
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure)
                failure = std::current_exception();
            stopped = true;
        }
    };
    const int threads = std::clamp(QThread::idealThreadCount(), 1, count);
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (progress)
        progress->recognising = false;
    if (failure)
        std::rethrow_exception(failure);
    return pages;
}

TextBlocks readPicture(const QString& path, ReadProgress* progress)
{
    QImageReader::setAllocationLimit(DecodingLimitMB);
    QImageReader probe(path);
    // Counted first: Qt's TIFF reader counts its pages only before anything else is asked of it.
    const int pagesInFile = probe.imageCount();
    if (!probe.canRead())
        damaged(path);
    // The frames of an animation are no pages; the pages of a TIFF are.
    const int count = probe.format() == "tiff" || probe.format() == "tif" ? std::max(pagesInFile, 1) : 1;
    // A reader of its own for each page, so that pages decode in parallel.
    const auto pageImage = [&](int index) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        if (index > 0 && !reader.jumpToImage(index))
            damaged(path);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > MostPixels)
            tooLarge(path, size);
        QImage image = reader.read();
        if (image.isNull())
            damaged(path);
        if (qint64(image.width()) * image.height() > MostPixels)
            tooLarge(path, image.size());
        return image;
    };
    const QList<RecognisedPage> pages = recognisePictures(count, pageImage, recognitionLanguage(), progress);
    QList<PdfPageText> texts;
    for (int i = 0; i < pages.size(); ++i) {
        texts << pages[i].text;
        if (progress && pages[i].doubtful())
            progress->doubtfulPages << i + 1;
    }
    TextBlocks blocks = paragraphsFromPages(texts);
    if (blocks.isEmpty())
        throw UnreadableDocument(
            UnreadableDocument::Reason::NoText,
            QCoreApplication::translate("TextRecognition", "\"%1\" has no text that Parlivo can recognise.")
                .arg(displayName(path)));
    return blocks;
}

QString misreadPagesNote(const QList<int>& pages)
{
    if (pages.isEmpty())
        return {};
    if (pages.size() == 1)
        return QCoreApplication::translate("TextRecognition", "Page %1 may be misread").arg(pages.front());
    QStringList numbers;
    for (int page : pages)
        numbers << QString::number(page);
    const QString last = numbers.takeLast();
    return QCoreApplication::translate("TextRecognition", "Pages %1 and %2 may be misread")
        .arg(numbers.join(QStringLiteral(", ")), last);
}
