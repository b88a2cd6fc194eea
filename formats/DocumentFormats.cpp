#include "formats/DocumentFormats.h"

#include <QCoreApplication>
#include <QFileInfo>

const QList<DocumentFormat>& documentFormats()
{
    static const QList<DocumentFormat> formats = {
        {DocumentKind::Html,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "HTML Document")),
         {QStringLiteral("htm"), QStringLiteral("html")},
         {QStringLiteral("text/html")},
         {},
         {}},
        {DocumentKind::RichText,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "Rich Text Files")),
         {QStringLiteral("rtf")},
         {QStringLiteral("text/rtf"), QStringLiteral("application/rtf")},
         {},
         {}},
        {DocumentKind::PlainText,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "Text Files")),
         {QStringLiteral("txt")},
         {QStringLiteral("text/plain")},
         {},
         {}},
        {DocumentKind::WordProcessor,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "Microsoft Word Document")),
         {QStringLiteral("doc")},
         {QStringLiteral("application/msword")},
         QStringLiteral(
             QT_TRANSLATE_NOOP("DocumentFormats", "MS Word is not installed, unable to load MS Word document.")),
         {}},
        {DocumentKind::WordProcessor,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "Word Document")),
         {QStringLiteral("docx"), QStringLiteral("dotx")},
         {QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document"),
          QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template")},
         QStringLiteral(
             QT_TRANSLATE_NOOP("DocumentFormats", "LibreOffice is not installed, unable to load Word documents.")),
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "a Word document"))},
        {DocumentKind::WordProcessor,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "OpenDocument Text")),
         {QStringLiteral("odt"), QStringLiteral("ott")},
         {QStringLiteral("application/vnd.oasis.opendocument.text"),
          QStringLiteral("application/vnd.oasis.opendocument.text-template")},
         QStringLiteral(
             QT_TRANSLATE_NOOP("DocumentFormats", "LibreOffice is not installed, unable to load OpenDocument text.")),
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "an OpenDocument text"))},
        {DocumentKind::Pdf,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "PDF Document")),
         {QStringLiteral("pdf")},
         {QStringLiteral("application/pdf")},
         {},
         {}},
        {DocumentKind::Epub,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "EPUB Book")),
         {QStringLiteral("epub")},
         {QStringLiteral("application/epub+zip")},
         {},
         {}},
        {DocumentKind::Picture,
         QStringLiteral(QT_TRANSLATE_NOOP("DocumentFormats", "Pictures and Scans")),
         {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("tif"),
          QStringLiteral("tiff"), QStringLiteral("bmp"), QStringLiteral("webp"), QStringLiteral("gif")},
         {QStringLiteral("image/png"), QStringLiteral("image/jpeg"), QStringLiteral("image/tiff"),
          QStringLiteral("image/bmp"), QStringLiteral("image/webp"), QStringLiteral("image/gif")},
         {},
         {}},
    };
    return formats;
}

const DocumentFormat* formatForPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    for (const DocumentFormat& format : documentFormats()) {
        if (format.extensions.contains(extension))
            return &format;
    }
    return nullptr;
}

namespace {
QString patterns(const QStringList& extensions)
{
    QStringList list;
    for (const QString& extension : extensions)
        list << QStringLiteral("*.") + extension;
    return list.join(QLatin1Char(';'));
}
} // namespace

QString translatedFormatText(const QString& text)
{
    return QCoreApplication::translate("DocumentFormats", text.toUtf8().constData());
}

QString openDocumentFilter()
{
    // The first five types keep the order the program has always listed them in; newer ones follow.
    QStringList valid = {QStringLiteral("rtf"), QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("txt"),
                         QStringLiteral("doc")};
    QStringList entries;
    for (const DocumentFormat& format : documentFormats()) {
        for (const QString& extension : format.extensions) {
            if (!valid.contains(extension))
                valid << extension;
        }
        const QString list = patterns(format.extensions);
        entries << QStringLiteral("%1 (%2)|%2").arg(translatedFormatText(format.filterName), list);
    }
    const QString all = patterns(valid);
    return QCoreApplication::translate("DocumentFormats", "Valid Documents (%1)|%1|").arg(all) +
           entries.join(QLatin1Char('|')) + QCoreApplication::translate("DocumentFormats", "|All Files (*.*)|*.*");
}

QString documentMimeTypes()
{
    QString types;
    for (const DocumentFormat& format : documentFormats()) {
        for (const QString& type : format.mimeTypes)
            types += type + QLatin1Char(';');
    }
    return types;
}
