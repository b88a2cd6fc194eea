#include "window/spelling/SpellingFile.h"

#include "core/AtomicFile.h"
#include "core/TextRoutines.h"
#include "core/Errors.h"
#include "core/TextEncoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString systemError(const QString& action, const QString& path, const QString& reason)
{
    // The reason is a sentence of its own ("the disk is full" becomes "The disk is full").
    return QStringLiteral("%1 \"%2\". %3")
        .arg(action, QDir::toNativeSeparators(path), reason.left(1).toUpper() + reason.mid(1));
}
} // namespace

QStringList SplitSpellingLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (ch == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < size)
        lines << text.mid(start);
    return lines;
}

QString DecodeSpellingText(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return decodeText(zero < 0 ? bytes : bytes.left(zero));
}

QByteArray EncodeSpellingText(const QString& text)
{
    return encodeText(text);
}

QStringList ReadSpellingLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(
            systemError(QCoreApplication::translate("SpellingFile", "Cannot open file"), path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(
            systemError(QCoreApplication::translate("SpellingFile", "Cannot read file"), path, file.errorString()));
    return SplitSpellingLines(DecodeSpellingText(bytes));
}

void WriteSpellingLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += OneLine(line) + QLatin1String("\r\n");

    AtomicFile file(path);
    const QByteArray bytes = EncodeSpellingText(text);
    if (!file.open())
        throw FileError(
            systemError(QCoreApplication::translate("SpellingFile", "Cannot create file"), path, file.errorString()));
    if (!file.write(bytes) || !file.commit())
        throw FileError(
            systemError(QCoreApplication::translate("SpellingFile", "Cannot write file"), path, file.errorString()));
}

QString OneLine(const QString& text)
{
    const QStringList lines = SplitSpellingLines(text);
    if (lines.size() <= 1)
        return lines.isEmpty() ? QString() : lines.constFirst();
    QStringList kept;
    for (const QString& line : lines) {
        if (!line.isEmpty())
            kept << line;
    }
    return kept.join(QLatin1Char(' '));
}

WordLine SplitWordLine(const QString& line)
{
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {QString(), line};
    return {line.left(comma), line.mid(comma + 1)};
}

QStringList TestWordLines(const QStringList& fileLines)
{
    QStringList words;
    for (qsizetype i = 2; i < fileLines.size(); ++i) {
        if (!TrimControl(fileLines.at(i)).isEmpty())
            words << fileLines.at(i);
    }
    return words;
}

QString SpelledOut(const QString& word)
{
    QStringList letters;
    for (const uint unit : word.toUcs4()) {
        const char32_t codePoint = unit;
        letters << QString::fromUcs4(&codePoint, 1);
    }
    return letters.join(QLatin1Char(' '));
}

QString DisplayName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.size() <= 3 ? name : name.left(name.size() - 4);
}
