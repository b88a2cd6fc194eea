#include "window/settings/ColourSchemes.h"

#include "core/DesktopFiles.h"
#include "core/TextRoutines.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "core/AtomicFile.h"
#include "core/ProfileStrings.h"
#include "core/TextEncoding.h"
#include "window/settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>

namespace {
struct CaseInsensitiveLess
{
    bool operator()(const QString& a, const QString& b) const { return a.compare(b, Qt::CaseInsensitive) < 0; }
};

QString fieldKey(int field)
{
    return QLatin1String(AppearanceSettings::keys()[field - 1]);
}

// The fields a chosen scheme sets, in the order they are converted.
constexpr std::array<int, 11> ChosenFields = {15, 1, 2, 5, 6, 3, 4, 9, 10, 16, 14};
} // namespace

QString SchemeFolder()
{
    const QDir app(appFolder());
    const QString exact = app.filePath(QStringLiteral("schemes"));
    if (QFileInfo(exact).isDir())
        return exact;
    const QStringList folders = app.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& folder : folders)
        if (folder.compare(QLatin1String("schemes"), Qt::CaseInsensitive) == 0)
            return app.filePath(folder);
    return exact;
}

QStringList SchemeNames()
{
    QStringList files;
    ListFiles(appPath(QStringLiteral("Schemes/*.pvc")), files);
    std::map<QString, QString, CaseInsensitiveLess> sorted;
    for (const QString& file : std::as_const(files))
        sorted.emplace(file, file); // the first of names equal but for letter case stays
    QStringList names;
    for (const auto& entry : sorted)
        names.append(entry.first.chopped(qMin<qsizetype>(4, entry.first.size())));
    return names;
}

bool IsSafeSchemeName(const QString& name)
{
    if (name.trimmed().isEmpty() || name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32 || c.unicode() == 127)
            return false;
    return true;
}

QString SchemeFilePath(const QString& name)
{
    const QString folder = SchemeFolder();
    const QString fileName = name + QLatin1String(".pvc");
    const QString exact = QDir(folder).filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files)
        if (file.compare(fileName, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(file);
    return exact;
}

QStringList ReadTextLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QCoreApplication::translate("ColourSchemes", "Cannot open file %1").arg(path));
    QString text = decodeText(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void WriteTextLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    SaveFileAtomically(path, encodeText(text));
}

int FindKeyLine(const QStringList& lines, QStringView key)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString KeyLineValue(const QStringList& lines, QStringView key)
{
    const int index = FindKeyLine(lines, key);
    if (index < 0)
        return {};
    const QString& line = lines[index];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void SetKeyLine(QStringList& lines, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + value;
    const int index = FindKeyLine(lines, key);
    if (index >= 0)
        lines[index] = line;
    else
        lines.append(line);
}

const std::array<int, 12>& SchemeFields()
{
    static const std::array<int, 12> fields = {1, 2, 3, 4, 5, 6, 9, 10, 13, 14, 15, 16};
    return fields;
}

QStringList SchemeLines(const AppearanceSettings& appearance)
{
    QStringList lines{QStringLiteral("[Customisation]")};
    for (const int field : SchemeFields())
        lines.append(fieldKey(field) + QLatin1Char('=') + QString::number(appearance.field(field)));
    return lines;
}

void CopySchemeIntoSettings(const QString& schemePath, const QString& settingsPath, AppearanceSettings& appearance)
{
    const QStringList scheme = ReadTextLines(schemePath);
    // A settings file not written yet (a first run) takes the scheme as its first content.
    ProfileDocument settings;
    try {
        settings = ProfileDocument::load(settingsPath);
    } catch (const FileError&) {
        throw FileError(QCoreApplication::translate("ColourSchemes", "Cannot open file %1").arg(settingsPath));
    }

    for (int field = 1; field <= AppearanceSettings::FieldCount; ++field) {
        const QString key = fieldKey(field);
        const QString value = KeyLineValue(scheme, key);
        if (value.isEmpty())
            settings.removeKey(CustomisationSection, key);
        else
            settings.setValue(CustomisationSection, key, value);
    }
    try {
        settings.save(settingsPath);
    } catch (const FileError&) {
        throw FileError(QCoreApplication::translate("ColourSchemes", "Cannot create file %1").arg(settingsPath));
    }

    for (const int field : ChosenFields) {
        const QString text = settings.value(CustomisationSection, fieldKey(field)).value_or(QString());
        const std::optional<qint32> value = ParseProfileInteger(text);
        if (!value)
            throw ConversionError(text);
        appearance.field(field) = *value;
    }
}
