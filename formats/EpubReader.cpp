#include "formats/EpubReader.h"

#include "core/HtmlEntities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

// Limits that keep a hostile book from filling the memory: no page of a real book comes near them.
constexpr qint64 MaxEntryBytes = 32 * 1024 * 1024;
constexpr qint64 MaxBookBytes = 256 * 1024 * 1024;
constexpr int MaxEntries = 50000;

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

[[noreturn]] void damaged(const QString& path)
{
    throw UnreadableDocument(
        UnreadableDocument::Reason::Damaged,
        QCoreApplication::translate("EpubReader", "\"%1\" is damaged or is not an EPUB book, so it cannot be read.")
            .arg(displayName(path)));
}

// The entries of the book's zip, read with the limits above.
class BookArchive
{
public:
    explicit BookArchive(const QString& path) : mPath(path), mZip(path)
    {
        if (!mZip.open(QuaZip::mdUnzip) || mZip.getEntriesCount() > MaxEntries)
            damaged(path);
        for (const QString& name : mZip.getFileNameList())
            mNames.insert(name);
    }

    bool contains(const QString& name) const { return mNames.contains(name); }

    QByteArray read(const QString& name)
    {
        if (!mNames.contains(name) || !mZip.setCurrentFile(name))
            damaged(mPath);
        QuaZipFile file(&mZip);
        if (!file.open(QIODevice::ReadOnly))
            damaged(mPath);
        QByteArray bytes;
        char chunk[64 * 1024];
        for (;;) {
            const qint64 got = file.read(chunk, sizeof chunk);
            if (got < 0)
                damaged(mPath);
            if (got == 0)
                break;
            bytes.append(chunk, got);
            mRead += got;
            if (bytes.size() > MaxEntryBytes || mRead > MaxBookBytes)
                throw UnreadableDocument(UnreadableDocument::Reason::TooLarge,
                                         QCoreApplication::translate(
                                             "EpubReader", "\"%1\" unpacks to far more text than a book holds, so it "
                                                           "cannot be read.")
                                             .arg(displayName(mPath)));
        }
        file.close();
        // A damaged entry shows only at its end, by its checksum.
        if (file.getZipError() != UNZ_OK)
            damaged(mPath);
        return bytes;
    }

private:
    QString mPath;
    QuaZip mZip;
    QSet<QString> mNames;
    qint64 mRead = 0;
};

// Font obfuscation only scrambles embedded fonts; any other encryption hides the text itself.
bool isCopyProtected(BookArchive& book)
{
    if (book.contains(QStringLiteral("META-INF/rights.xml")) || book.contains(QStringLiteral("META-INF/sinf.xml")))
        return true;
    if (!book.contains(QStringLiteral("META-INF/encryption.xml")))
        return false;
    static const QSet<QString> fontObfuscation = {QStringLiteral("http://www.idpf.org/2008/embedding"),
                                                  QStringLiteral("http://ns.adobe.com/pdf/enc#RC")};
    QXmlStreamReader xml(book.read(QStringLiteral("META-INF/encryption.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("EncryptionMethod") &&
            !fontObfuscation.contains(xml.attributes().value(QLatin1String("Algorithm")).toString()))
            return true;
    }
    return false;
}

QString resolve(const QString& folder, const QString& href)
{
    const QString decoded = QUrl::fromPercentEncoding(href.section(QLatin1Char('#'), 0, 0).toUtf8());
    return QDir::cleanPath(folder.isEmpty() ? decoded : folder + QLatin1Char('/') + decoded);
}

QString packagePath(BookArchive& book, const QString& path)
{
    QXmlStreamReader xml(book.read(QStringLiteral("META-INF/container.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("rootfile")) {
            const QString media = xml.attributes().value(QLatin1String("media-type")).toString();
            if (media.isEmpty() || media == QLatin1String("application/oebps-package+xml"))
                return xml.attributes().value(QLatin1String("full-path")).toString();
        }
    }
    damaged(path);
}

// The pages of the spine in reading order, as paths inside the book.
QStringList spinePages(BookArchive& book, const QString& path)
{
    const QString package = packagePath(book, path);
    const QString folder = QFileInfo(package).path() == QLatin1String(".") ? QString() : QFileInfo(package).path();
    QXmlStreamReader xml(book.read(package));
    QHash<QString, QPair<QString, QString>> manifest; // id -> (href, media type)
    QStringList spine;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("item")) {
            manifest.insert(attributes.value(QLatin1String("id")).toString(),
                            {attributes.value(QLatin1String("href")).toString(),
                             attributes.value(QLatin1String("media-type")).toString()});
        } else if (xml.name() == QLatin1String("itemref") &&
                   attributes.value(QLatin1String("linear")) != QLatin1String("no")) {
            spine << attributes.value(QLatin1String("idref")).toString();
        }
    }
    if (xml.hasError() || spine.isEmpty())
        damaged(path);
    QStringList pages;
    for (const QString& id : std::as_const(spine)) {
        const auto item = manifest.constFind(id);
        if (item == manifest.cend())
            continue;
        const QString& media = item->second;
        if (media == QLatin1String("application/xhtml+xml") || media == QLatin1String("text/html") || media.isEmpty())
            pages << resolve(folder, item->first);
    }
    return pages;
}

// The HTML entities books use without declaring them.
class HtmlEntities : public QXmlStreamEntityResolver
{
public:
    QString resolveUndeclaredEntity(const QString& name) override
    {
        const HtmlEntity* entity = FindHtmlEntity(name.toStdString() + ';');
        if (!entity)
            return QStringLiteral(" "); // an unknown name reads as nothing rather than failing the page
        QString text = QString::fromUcs4(&entity->first, 1);
        if (entity->second)
            text += QString::fromUcs4(&entity->second, 1);
        return text;
    }
};

enum class Element
{
    Inline,
    Block,
    Break,
    Skipped
};

Element classify(QStringView name, int& heading)
{
    static const QSet<QString> blocks = {
        QStringLiteral("p"),          QStringLiteral("div"),     QStringLiteral("li"),
        QStringLiteral("blockquote"), QStringLiteral("pre"),     QStringLiteral("section"),
        QStringLiteral("article"),    QStringLiteral("header"),  QStringLiteral("footer"),
        QStringLiteral("aside"),      QStringLiteral("nav"),     QStringLiteral("figure"),
        QStringLiteral("figcaption"), QStringLiteral("table"),   QStringLiteral("tr"),
        QStringLiteral("td"),         QStringLiteral("th"),      QStringLiteral("dt"),
        QStringLiteral("dd"),         QStringLiteral("ul"),      QStringLiteral("ol"),
        QStringLiteral("dl"),         QStringLiteral("body"),    QStringLiteral("hr"),
        QStringLiteral("caption"),    QStringLiteral("address"), QStringLiteral("main")};
    static const QSet<QString> skipped = {QStringLiteral("script"),   QStringLiteral("style"), QStringLiteral("head"),
                                          QStringLiteral("template"), QStringLiteral("rt"),    QStringLiteral("rp")};
    heading = 0;
    const QString lower = name.toString().toLower();
    if (lower.size() == 2 && lower[0] == QLatin1Char('h') && lower[1] >= QLatin1Char('1') &&
        lower[1] <= QLatin1Char('6')) {
        heading = lower[1].digitValue();
        return Element::Block;
    }
    if (lower == QLatin1String("br"))
        return Element::Break;
    if (skipped.contains(lower))
        return Element::Skipped;
    return blocks.contains(lower) ? Element::Block : Element::Inline;
}

class ParagraphCollector
{
public:
    void text(QStringView text) { mText += text; }
    void start(int heading)
    {
        flush();
        mHeading = heading;
    }
    void end()
    {
        flush();
        mHeading = 0;
    }
    void flush()
    {
        QString paragraph = mText.simplified();
        paragraph.remove(QChar(0x00AD));
        if (!paragraph.isEmpty())
            mBlocks << TextBlock{paragraph, mHeading};
        mText.clear();
    }
    TextBlocks take()
    {
        flush();
        return std::move(mBlocks);
    }

private:
    QString mText;
    int mHeading = 0;
    TextBlocks mBlocks;
};

// For pages that are HTML rather than XML: tags found by pattern, scripts and styles cut out with their content.
TextBlocks lenientParagraphs(const QString& page)
{
    static const QRegularExpression hidden(
        QStringLiteral("<(script|style|head|template)\\b[^>]*>.*?</\\1\\s*>|<!--.*?-->"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)[^>]*>"));
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9A-Fa-f]+|#[0-9]+|[A-Za-z]+);"));
    QString text = page;
    text.remove(hidden);
    ParagraphCollector collector;
    HtmlEntities entities;
    const auto addText = [&](QStringView piece) {
        qsizetype at = 0;
        auto it = entity.globalMatch(piece);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            collector.text(piece.sliced(at, match.capturedStart() - at));
            const QString name = match.captured(1);
            bool ok = false;
            const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                              : name.startsWith(QLatin1Char('#'))                       ? name.mid(1).toUInt(&ok, 10)
                                                                                        : 0;
            if (ok && code > 0 && code <= 0x10FFFF)
                collector.text(QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1));
            else if (name == QLatin1String("amp") || name == QLatin1String("lt") || name == QLatin1String("gt"))
                collector.text(name == QLatin1String("amp") ? u"&" : name == QLatin1String("lt") ? u"<" : u">");
            else if (!name.startsWith(QLatin1Char('#')))
                collector.text(entities.resolveUndeclaredEntity(name));
            at = match.capturedEnd();
        }
        collector.text(piece.sliced(at));
    };
    qsizetype at = 0;
    auto it = tag.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        addText(QStringView(text).sliced(at, match.capturedStart() - at));
        at = match.capturedEnd();
        int heading = 0;
        const Element element = classify(match.capturedView(2), heading);
        if (element == Element::Break || (element == Element::Block && !match.capturedView(1).isEmpty()))
            collector.end();
        else if (element == Element::Block)
            collector.start(heading);
    }
    addText(QStringView(text).sliced(at));
    return collector.take();
}

} // namespace

TextBlocks xhtmlParagraphs(const QByteArray& page)
{
    QXmlStreamReader xml(page);
    HtmlEntities entities;
    xml.setEntityResolver(&entities);
    ParagraphCollector collector;
    int skipping = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            int heading = 0;
            const Element element = classify(xml.name(), heading);
            if (skipping > 0 || element == Element::Skipped)
                ++skipping;
            else if (element == Element::Block)
                collector.start(heading);
            else if (element == Element::Break)
                collector.end();
            break;
        }
        case QXmlStreamReader::EndElement: {
            int heading = 0;
            if (skipping > 0)
                --skipping;
            else if (classify(xml.name(), heading) == Element::Block)
                collector.end();
            break;
        }
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            if (skipping == 0)
                collector.text(xml.text());
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return lenientParagraphs(QString::fromUtf8(page));
    return collector.take();
}

TextBlocks readEpub(const QString& path, ReadProgress* progress)
{
    BookArchive book(path);
    if (isCopyProtected(book))
        throw UnreadableDocument(UnreadableDocument::Reason::CopyProtected,
                                 QCoreApplication::translate(
                                     "EpubReader", "\"%1\" is protected against copying (DRM), so it cannot be read.")
                                     .arg(displayName(path)));
    const QStringList pages = spinePages(book, path);
    if (progress)
        progress->total = static_cast<int>(pages.size());
    TextBlocks blocks;
    int done = 0;
    for (const QString& page : pages) {
        if (progress && progress->stop)
            throw ReadCancelled();
        blocks << xhtmlParagraphs(book.read(page));
        if (progress)
            progress->done = ++done;
    }
    if (blocks.isEmpty())
        throw UnreadableDocument(
            UnreadableDocument::Reason::NoText,
            QCoreApplication::translate("EpubReader", "\"%1\" has no text to read.").arg(displayName(path)));
    return blocks;
}
