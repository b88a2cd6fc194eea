#pragma once

// Real documents made at test time: PDFs typeset by TeX, EPUB books zipped from files written here, and
// whatever LibreOffice makes of an HTML page.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace fixtures {

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

// Runs a tool to its end; false when it is missing, fails or takes longer than two minutes.
inline bool run(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return false;
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(found, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Typesets a LaTeX document into `folder`/`name`.pdf; an empty string when TeX is not installed or fails.
inline QString texPdf(const QString& folder, const QString& name, const QString& latex)
{
    writeFile(QDir(folder).filePath(name + QStringLiteral(".tex")), latex.toUtf8());
    if (!run(QStringLiteral("pdflatex"), {QStringLiteral("-interaction=batchmode"), name + QStringLiteral(".tex")},
             folder))
        return {};
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

// The output of `pdftotext` (poppler-utils) for a PDF; an empty string when it is missing.
inline QString pdftotext(const QString& pdf)
{
    const QString out = pdf + QStringLiteral(".txt");
    if (!run(QStringLiteral("pdftotext"), {pdf, out}))
        return {};
    QFile file(out);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

struct ZipEntry
{
    QString name;
    QByteArray bytes;
    bool stored = false; // the mimetype entry of an EPUB is stored, not compressed
};

inline bool zip(const QString& path, const QList<ZipEntry>& entries)
{
    QuaZip archive(path);
    if (!archive.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry& entry : entries) {
        QuaZipFile file(&archive);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name), nullptr, 0, entry.stored ? 0 : 8,
                       entry.stored ? 0 : 6))
            return false;
        file.write(entry.bytes);
        file.close();
    }
    archive.close();
    return archive.getZipError() == 0;
}

// The entries of an EPUB 3 book whose spine lists `pages` (name, XHTML body) in the order given; the manifest
// lists them in reverse, so only the spine can give the order.
inline QList<ZipEntry> epubEntries(const QList<QPair<QString, QByteArray>>& pages)
{
    QByteArray manifest;
    QByteArray spine;
    for (qsizetype i = pages.size() - 1; i >= 0; --i)
        manifest += "<item id=\"p" + QByteArray::number(i) + "\" href=\"text/" + pages[i].first.toUtf8() +
                    "\" media-type=\"application/xhtml+xml\"/>";
    for (qsizetype i = 0; i < pages.size(); ++i)
        spine += "<itemref idref=\"p" + QByteArray::number(i) + "\"/>";
    QList<ZipEntry> entries{
        {QStringLiteral("mimetype"), "application/epub+zip", true},
        {QStringLiteral("META-INF/container.xml"),
         "<?xml version=\"1.0\"?><container version=\"1.0\" "
         "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile full-path=\"OEBPS/book.opf\" "
         "media-type=\"application/oebps-package+xml\"/></rootfiles></container>"},
        {QStringLiteral("OEBPS/book.opf"),
         "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\"><metadata/>"
         "<manifest>" +
             manifest + "<item id=\"css\" href=\"style.css\" media-type=\"text/css\"/></manifest><spine>" + spine +
             "</spine></package>"},
        {QStringLiteral("OEBPS/style.css"), "p { color: red }"}};
    for (const auto& page : pages)
        entries << ZipEntry{QStringLiteral("OEBPS/text/") + page.first,
                            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE html>\n<html "
                            "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>Not read</title></head><body>" +
                                page.second + "</body></html>"};
    return entries;
}

} // namespace fixtures
