#include "spelling/SpellingFile.h"

#include "documents/OSTRoutines.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>

namespace {
// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves undefined map to themselves, as
// Windows does.
constexpr std::array<char16_t, 32> Cp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = (byte >= 0x80 && byte <= 0x9F) ? QChar(Cp1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}

// The byte for a character, or -1 when Windows-1252 has none.
int cp1252Byte(QChar ch)
{
    const char16_t unit = ch.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < Cp1252High.size(); ++i) {
        if (Cp1252High[i] == unit)
            return int(0x80 + i);
    }
    return -1;
}

QString systemError(const QString& action, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\". %3").arg(action, QDir::toNativeSeparators(path), reason);
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
    const QByteArray text = zero < 0 ? bytes : bytes.left(zero);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    if (!utf8.hasError())
        return decoded;
    return decodeCp1252(text);
}

QByteArray EncodeSpellingText(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const int byte = cp1252Byte(ch);
        if (byte < 0)
            return text.toUtf8();
        bytes.append(char(byte));
    }
    return bytes;
}

QStringList ReadSpellingLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(systemError(QStringLiteral("Cannot open file"), path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(systemError(QStringLiteral("Cannot read file"), path, file.errorString()));
    return SplitSpellingLines(DecodeSpellingText(bytes));
}

void WriteSpellingLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += OneLine(line) + QLatin1String("\r\n");

    // QSaveFile renames over the old file, which would get past a file the user has made read-only.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isWritable())
        throw FileError(systemError(QStringLiteral("Cannot create file"), path, QStringLiteral("Permission denied")));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(systemError(QStringLiteral("Cannot create file"), path, file.errorString()));
    file.write(EncodeSpellingText(text));
    if (!file.commit())
        throw FileError(systemError(QStringLiteral("Cannot write file"), path, file.errorString()));
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
