#include "core/ProfileStrings.h"
#include "core/AtomicFile.h"

#include "core/Errors.h"
#include "core/TextEncoding.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The text without the byte-order marks at its start: a file saved by several editors may carry more than one, and
// one left would hide the first section.
QStringView withoutByteOrderMarks(QStringView text)
{
    while (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);
    return text;
}

// The section name of a header line ("[name]", blanks allowed around), or nothing for any other line.
std::optional<QStringView> sectionName(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    return (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a key line (the text before its first "=", trimmed), or nothing for a line without "=".
std::optional<QStringView> keyName(QStringView line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return line.left(equals).trimmed();
}

QString keyValue(QStringView line)
{
    QStringView value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    return value.toString();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

std::optional<qint32> ParseProfileInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == QLatin1Char('-') || text.front() == QLatin1Char('+'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(QLatin1Char('$'))) {
        base = 16;
        text = text.mid(1);
    } else if (text.size() > 2 && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty() || (base == 16 && text.size() > 8))
        return std::nullopt;

    quint64 magnitude = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16) {
        const auto value = static_cast<qint32>(static_cast<quint32>(magnitude));
        return negative ? static_cast<qint32>(0u - static_cast<quint32>(value)) : value;
    }
    if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull)
        return std::nullopt;
    return negative ? static_cast<qint32>(-static_cast<qint64>(magnitude)) : static_cast<qint32>(magnitude);
}

ProfileDocument ProfileDocument::fromText(const QString& text)
{
    ProfileDocument document;
    QStringView rest = withoutByteOrderMarks(text);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(QLatin1Char('\n'));
        QStringView line = end < 0 ? rest : rest.left(end);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        document.mLines.append(line.toString());
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
    }
    return document;
}

ProfileDocument ProfileDocument::load(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    // Opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile())
        throw FileError(QStringLiteral("Cannot open file %1 (it is not a regular file)").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file %1").arg(path));
    return fromText(decodeText(file.readAll()));
}

int ProfileDocument::findSection(QStringView section) const
{
    for (int i = 0; i < mLines.size(); ++i) {
        const auto name = sectionName(mLines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

int ProfileDocument::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < mLines.size() && !sectionName(mLines[i]))
        ++i;
    return i;
}

int ProfileDocument::findKey(int header, QStringView key) const
{
    for (int i = header + 1; i < mLines.size(); ++i) {
        const QStringView line = mLines[i];
        if (sectionName(line))
            return -1;
        const auto name = keyName(line);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

std::optional<QString> ProfileDocument::value(QStringView section, QStringView key) const
{
    const int header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const int line = findKey(header, key);
    if (line < 0)
        return std::nullopt;
    return keyValue(mLines[line]);
}

void ProfileDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + oneLine(value);
    const int header = findSection(section);
    if (header < 0) {
        if (!mLines.isEmpty() && !mLines.last().trimmed().isEmpty())
            mLines.append(QString());
        mLines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        mLines.append(line);
        return;
    }
    const int existing = findKey(header, key);
    if (existing >= 0) {
        mLines[existing] = line;
        return;
    }
    // After the section's last line that is not blank, so the blank line before the next section stays.
    int at = sectionEnd(header);
    while (at > header + 1 && mLines[at - 1].trimmed().isEmpty())
        --at;
    mLines.insert(at, line);
}

bool ProfileDocument::removeKey(QStringView section, QStringView key)
{
    const int header = findSection(section);
    const int line = header < 0 ? -1 : findKey(header, key);
    if (line < 0)
        return false;
    mLines.removeAt(line);
    return true;
}

QString ProfileDocument::toText() const
{
    QString text;
    qsizetype size = 0;
    for (const QString& line : mLines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : mLines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

void ProfileDocument::save(const QString& path) const
{
    SaveFileAtomically(path, encodeText(toText()));
}

QString ProfileStrings::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    QFile file(mPath);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue.left(ProfileValueLimit);
    const QString text = decodeText(file.readAll());

    // One pass over the text, without splitting it into lines first.
    bool inSection = false;
    QStringView rest = withoutByteOrderMarks(text);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(QLatin1Char('\n'));
        const QStringView line = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
        if (const auto name = sectionName(line)) {
            if (inSection)
                break; // only the first section of the name counts
            inSection = sameName(*name, section);
        } else if (inSection) {
            const auto name = keyName(line);
            if (name && sameName(*name, key))
                return keyValue(line).left(ProfileValueLimit);
        }
    }
    return defaultValue.left(ProfileValueLimit);
}

qint32 ProfileStrings::readInteger(QStringView section, QStringView key, qint32 defaultValue) const
{
    const QString text = readString(section, key, QString());
    return ParseProfileInteger(text).value_or(defaultValue);
}

void ProfileStrings::writeString(const QString& section, const QString& key, const QString& value) const
{
    ProfileDocument document = ProfileDocument::load(mPath);
    const QString before = document.toText();
    document.setValue(section, key, value);
    // A write that changes nothing leaves the file as it is, line endings and all.
    if (QFileInfo::exists(mPath) && document.toText() == before)
        return;
    document.save(mPath);
}

void ProfileStrings::writeInteger(const QString& section, const QString& key, qint32 value) const
{
    writeString(section, key, QString::number(value));
}
