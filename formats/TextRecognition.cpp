#include "formats/TextRecognition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QImageReader>
#include <QLocale>
#include <QMutex>
#include <QPainter>
#include <QThread>
#include <QTransform>

#include <dlfcn.h>
#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <climits>
#include <cstdarg>
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
// Tesseract reads type best at about 12 points on a page of 300 dpi, whose letters stand about LetterPixels high;
// it loses type much larger or smaller, whatever resolution it is told. A picture is scaled to bring its letters
// to that height: a screen or a page scanned at 150 dpi enlarged (never past LargestEnlargedSide pixels), a
// phone's close photo of a worksheet shrunk. Within ScaleTolerance of that height a picture is read as it is.
constexpr double BestDpi = 300;
constexpr double LetterPixels = 28;
constexpr double MostEnlargement = 3;
constexpr double MostShrinking = 5;
constexpr double ScaleTolerance = 1.25;
constexpr int LargestEnlargedSide = 4000;
// A picture scaled or turned first is read as it is too, and the prepared reading is kept only when it reads more
// letters with confidence by this factor: the recogniser's own defaults win a tie.
constexpr double ClearlyBetter = 1.02;
// A page whose shades all lie within this many grey levels of each other is blank.
constexpr int BlankShades = 16;
// Letters are measured on the picture made no larger than this, in pixels a side.
constexpr int MeasuringSide = 1000;
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

    // Reads the picture twice when it has to be scaled or turned first: as prepared, and as it is, with the
    // recogniser's own defaults (what the tesseract command makes of it), and keeps the reading that finds more
    // text with more confidence. Preparing a picture should only ever help, and this makes sure it never harms.
    RecognisedPage recognise(const QImage& image, ReadProgress* progress)
    {
        const QImage grey = greyOnPaper(image);
        if (grey.isNull())
            return {};
        // A blank page (the back of a sheet scanned both sides) has nothing to recognise.
        if (blank(grey)) {
            RecognisedPage empty;
            empty.text.size = grey.size();
            return empty;
        }
        const QImage prepared = upright(scaledForReading(grey));
        if (prepared.size() == grey.size() && prepared.constBits() == grey.constBits())
            return read(grey, BestDpi, progress).page;
        // In colour, as the command gives it to the recogniser.
        const QImage colour = paperColour(image);
        const Reading plain = read(colour, image.dotsPerMeterY() * 0.0254, progress);
        const Reading ours = read(prepared, BestDpi, progress);
        return ours.score > plain.score * ClearlyBetter ? ours.page : plain.page;
    }

private:
    struct Reading
    {
        RecognisedPage page;
        double score = 0; // the letters read, each counted by the confidence of its word
    };

    // The picture (grey, or colour in RGB888) recognised in Tesseract's own page layout, told it was taken at
    // `dpi`; Tesseract estimates the resolution itself from a value it cannot believe.
    Reading read(const QImage& image, double dpi, ReadProgress* progress)
    {
        const int bytesPerPixel = image.format() == QImage::Format_RGB888 ? 3 : 1;
        mText.SetImage(image.constBits(), image.width(), image.height(), bytesPerPixel, int(image.bytesPerLine()));
        mText.SetSourceResolution(int(std::lround(dpi)));
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
        Reading reading;
        reading.page.text.size = image.size();
        if (failed == 0) {
            reading.page.text.lines = lines(&reading.score);
            if (!reading.page.text.lines.isEmpty())
                reading.page.confidence = mText.MeanTextConf();
        }
        mText.Clear();
        return reading;
    }

    static void quieten(tesseract::TessBaseAPI& api)
    {
        // Tesseract writes its estimates and warnings to standard error; the user hears of trouble from us.
        api.SetVariable("debug_file", "/dev/null");
    }

    // The picture in colour, transparent parts white paper, not black as a screenshot or logo would read.
    static QImage paperColour(const QImage& image)
    {
        if (!image.hasAlphaChannel())
            return image.convertToFormat(QImage::Format_RGB888);
        QImage paper(image.size(), QImage::Format_RGB888);
        paper.fill(Qt::white);
        paper.setDotsPerMeterX(image.dotsPerMeterX());
        paper.setDotsPerMeterY(image.dotsPerMeterY());
        QPainter(&paper).drawImage(0, 0, image);
        return paper;
    }

    // The picture in grey on white paper; null when it is too small to hold a letter.
    static QImage greyOnPaper(const QImage& image)
    {
        if (image.isNull() || image.width() < 3 || image.height() < 3)
            return {};
        const QImage opaque = image.hasAlphaChannel() ? paperColour(image) : image;
        return opaque.convertToFormat(QImage::Format_Grayscale8);
    }

    // Paper of one shade with nothing on it.
    static bool blank(const QImage& grey)
    {
        uchar lightest = 0, darkest = 255;
        for (int y = 0; y < grey.height(); ++y) {
            const uchar* row = grey.constScanLine(y);
            const auto [low, high] = std::minmax_element(row, row + grey.width());
            darkest = std::min(darkest, *low);
            lightest = std::max(lightest, *high);
        }
        return lightest - darkest < BlankShades;
    }

    // The picture scaled so that its letters stand about LetterPixels high. A picture whose letters cannot be
    // measured is enlarged to 300 dpi when it says it has fewer.
    static QImage scaledForReading(const QImage& grey)
    {
        const double letters = letterHeight(grey);
        double factor = letters > 0 ? std::clamp(LetterPixels / letters, 1 / MostShrinking, MostEnlargement)
                                    : std::min(BestDpi / std::max(grey.dotsPerMeterX() * 0.0254, 1.0), MostEnlargement);
        factor = std::min(factor, std::max(1.0, double(LargestEnlargedSide) / std::max(grey.width(), grey.height())));
        if (factor < ScaleTolerance && factor > 1 / ScaleTolerance)
            return grey;
        return grey.scaled(grey.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    // The usual height of the dark marks on the paper, in the picture's pixels: the median height of its letters
    // (small ones, capitals and tall ones together). 0 when it shows too few marks of a letter's shape.
    static double letterHeight(const QImage& grey)
    {
        const double shrink = std::min(1.0, double(MeasuringSide) / std::max(grey.width(), grey.height()));
        const QImage small =
            shrink < 1 ? grey.scaled(grey.size() * shrink, Qt::KeepAspectRatio, Qt::SmoothTransformation) : grey;
        const int width = small.width();
        const int height = small.height();
        if (width < 8 || height < 8)
            return 0;
        // Dark is darker than the paper around it, so that tinted paper and a shadow across it do not count.
        const size_t stride = size_t(width) + 1;
        std::vector<qint64> sums(stride * (height + 1), 0);
        for (int y = 0; y < height; ++y) {
            const uchar* row = small.constScanLine(y);
            qint64 along = 0;
            for (int x = 0; x < width; ++x) {
                along += row[x];
                sums[(y + 1) * stride + x + 1] = sums[y * stride + x + 1] + along;
            }
        }
        const int reach = std::max(8, std::max(width, height) / 16);
        std::vector<uchar> dark(size_t(width) * height, 0);
        for (int y = 0; y < height; ++y) {
            const int top = std::max(0, y - reach), bottom = std::min(height, y + reach + 1);
            const uchar* row = small.constScanLine(y);
            for (int x = 0; x < width; ++x) {
                const int left = std::max(0, x - reach), right = std::min(width, x + reach + 1);
                const qint64 total = sums[bottom * stride + right] - sums[top * stride + right] -
                                     sums[bottom * stride + left] + sums[top * stride + left];
                const double paper = double(total) / (double(bottom - top) * (right - left));
                dark[size_t(y) * width + x] = row[x] < paper * 0.8 - 8;
            }
        }
        // The height of each connected mark, found by filling it.
        QList<double> heights;
        std::vector<int> stack;
        const int count = width * height;
        for (int start = 0; start < count; ++start) {
            if (!dark[start])
                continue;
            int top = height, bottom = 0, left = width, right = 0;
            qint64 pixels = 0;
            stack.push_back(start);
            dark[start] = 0;
            while (!stack.empty()) {
                const int at = stack.back();
                stack.pop_back();
                const int x = at % width, y = at / width;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
                ++pixels;
                const int neighbours[] = {x > 0 ? at - 1 : -1, x + 1 < width ? at + 1 : -1, at - width,
                                          at + width < count ? at + width : -1};
                for (const int next : neighbours) {
                    if (next >= 0 && dark[next]) {
                        dark[next] = 0;
                        stack.push_back(next);
                    }
                }
            }
            const int markHeight = bottom - top + 1, markWidth = right - left + 1;
            // Specks, rules, the edge of the paper and pictures are no letters.
            if (markHeight >= 4 && markHeight < height / 4 && markWidth < 4 * markHeight &&
                pixels * 20 > qint64(markWidth) * markHeight)
                heights << markHeight;
        }
        if (heights.size() < 8)
            return 0;
        const auto middle = heights.begin() + heights.size() / 2;
        std::nth_element(heights.begin(), middle, heights.end());
        return *middle / shrink;
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
    QList<PdfLine> lines(double* score)
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
            *score += word.size() * confidence / 100;
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

// Decoders of picture files report a file's oddities on standard error: libpng through Qt's messages ("libpng
// warning: iCCP: known incorrect sRGB profile"), libtiff by itself. A picture that cannot be read has its own
// message, so while a thread decodes one, both are quiet; other threads' messages pass as before.
thread_local bool decodingPicture = false;
QtMessageHandler otherMessages = nullptr;

void pictureMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!decodingPicture || type == QtFatalMsg)
        otherMessages(type, context, message);
}

class QuietDecoding
{
public:
    QuietDecoding() : mOuter(decodingPicture)
    {
        static std::once_flag once;
        std::call_once(once, [] {
            otherMessages = qInstallMessageHandler(pictureMessages);
            // Qt's TIFF reader leaves libtiff writing to standard error; without handlers libtiff says nothing.
            // Loaded here, it is the library the reader uses.
            if (void* tiff = dlopen("libtiff.so.6", RTLD_LAZY)) {
                using Handler = void (*)(const char*, const char*, va_list);
                using SetHandler = Handler (*)(Handler);
                for (const char* name : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"}) {
                    if (const auto set = reinterpret_cast<SetHandler>(dlsym(tiff, name)))
                        set(nullptr);
                }
            }
        });
        decodingPicture = true;
    }
    ~QuietDecoding() { decodingPicture = mOuter; }
    QuietDecoding(const QuietDecoding&) = delete;
    QuietDecoding& operator=(const QuietDecoding&) = delete;

private:
    bool mOuter;
};

// The pages of a TIFF: where each page's directory stands in the file, found by following the chain of pages
// once. Qt's TIFF reader jumps to a page by walking that chain from the first page, so a reader for each page made
// the reading time of a TIFF grow with the square of its pages; instead each page is read from the file as if its
// header named that page first. Empty for a file that is not a TIFF; a chain that loops or leaves the file ends
// there.
struct TiffPages
{
    QList<quint64> directories;
    qsizetype pointerAt = 4; // where the header names the first page's directory
    qsizetype pointerSize = 4;
    bool bigEndian = false;

    // The header with page `index` first.
    QByteArray header(const QByteArray& original, int index) const
    {
        QByteArray patched = original;
        for (qsizetype i = 0; i < pointerSize; ++i) {
            const int shift = int(8 * (bigEndian ? pointerSize - 1 - i : i));
            patched[pointerAt + i] = char((directories[index] >> shift) & 0xFF);
        }
        return patched;
    }
};

quint64 readNumber(QFile& file, qsizetype bytes, bool bigEndian)
{
    const QByteArray data = file.read(bytes);
    if (data.size() != bytes)
        return 0;
    quint64 value = 0;
    for (qsizetype i = 0; i < bytes; ++i)
        value |= quint64(quint8(data[bigEndian ? bytes - 1 - i : i])) << (8 * i);
    return value;
}

TiffPages tiffPages(const QString& path, QByteArray* header)
{
    TiffPages pages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return pages;
    *header = file.peek(16);
    if (header->size() < 8 || (!header->startsWith("II") && !header->startsWith("MM")))
        return pages;
    pages.bigEndian = header->startsWith("MM");
    file.seek(2);
    const quint64 version = readNumber(file, 2, pages.bigEndian);
    const bool big = version == 43;
    if (version != 42 && !(big && header->size() == 16))
        return pages;
    pages.pointerAt = big ? 8 : 4;
    pages.pointerSize = big ? 8 : 4;
    const qsizetype countSize = big ? 8 : 2;
    const qsizetype entrySize = big ? 20 : 12;
    file.seek(pages.pointerAt);
    quint64 directory = readNumber(file, pages.pointerSize, pages.bigEndian);
    QSet<quint64> seen;
    while (directory != 0 && directory < quint64(file.size()) && !seen.contains(directory)) {
        seen.insert(directory);
        pages.directories << directory;
        file.seek(qint64(directory));
        const quint64 entries = readNumber(file, countSize, pages.bigEndian);
        if (entries > quint64(file.size()) || !file.seek(qint64(directory + countSize + entries * entrySize)))
            break;
        directory = readNumber(file, pages.pointerSize, pages.bigEndian);
    }
    return pages;
}

// A TIFF file read through a header of another's choosing, so that a page of the file comes first.
class PatchedHeaderFile : public QIODevice
{
public:
    PatchedHeaderFile(const QString& path, QByteArray header) : mFile(path), mHeader(std::move(header)) {}

    bool open(OpenMode mode) override { return mFile.open(QIODevice::ReadOnly) && QIODevice::open(mode | Unbuffered); }
    bool isSequential() const override { return false; }
    qint64 size() const override { return mFile.size(); }

protected:
    qint64 readData(char* data, qint64 most) override
    {
        const qint64 at = pos();
        if (!mFile.seek(at))
            return -1;
        const qint64 read = mFile.read(data, most);
        for (qint64 i = at; i < at + read && i < mHeader.size(); ++i)
            data[i - at] = mHeader[i];
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile mFile;
    const QByteArray mHeader;
};

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

namespace {

// The installed recognition data for one language, named as Tesseract names it ("fra") or by a BCP 47 tag
// ("fr-fr"); empty when it is not installed.
QString installedLanguage(const QString& language, const QStringList& installed)
{
    if (installed.contains(language))
        return language;
    // A BCP 47 tag: its language, in the three letters Tesseract names its data by.
    const QString primary = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    const QLocale::Language known = QLocale::codeToLanguage(primary);
    if (known != QLocale::AnyLanguage) {
        const QString code = QLocale::languageToCode(known, QLocale::ISO639Part2T);
        if (installed.contains(code))
            return code;
    }
    return {};
}

} // namespace

QString recognitionLanguageFor(const QString& language)
{
    const QStringList installed = recognitionLanguages();
    QStringList chosen;
    for (const QString& part : language.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const QString code = installedLanguage(part, installed);
        if (code.isEmpty())
            return QStringLiteral("eng");
        if (!chosen.contains(code))
            chosen << code;
    }
    return chosen.isEmpty() ? QStringLiteral("eng") : chosen.join(QLatin1Char('+'));
}

QString missingRecognitionLanguage(const QString& languages)
{
    const QStringList installed = recognitionLanguages();
    for (const QString& part : languages.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        if (installedLanguage(part, installed).isEmpty())
            return part;
    }
    return {};
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
    const QuietDecoding quiet;
    QImageReader probe(path);
    if (!probe.canRead())
        damaged(path);
    // The frames of an animation are no pages; the pages of a TIFF are.
    QByteArray header;
    const TiffPages tiff = probe.format() == "tiff" ? tiffPages(path, &header) : TiffPages();
    const int count = std::max<int>(int(std::min<qsizetype>(tiff.directories.size(), INT_MAX)), 1);
    // A reader of its own for each page, so that pages decode in parallel.
    const auto pageImage = [&](int index) {
        const QuietDecoding quiet;
        PatchedHeaderFile page(path,
                               index > 0 && index < tiff.directories.size() ? tiff.header(header, index) : header);
        QImageReader reader;
        if (index > 0) {
            if (index >= tiff.directories.size() || !page.open(QIODevice::ReadOnly))
                damaged(path);
            reader.setDevice(&page);
            reader.setFormat("tiff");
        } else {
            reader.setFileName(path);
        }
        reader.setAutoTransform(true);
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
