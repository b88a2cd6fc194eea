#include "core/DesktopFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace {

bool wildcardMatch(QStringView name, QStringView pattern)
{
    // Iterative "*" and "?" matching without letter case, as file masks behave on the desktop the files
    // come from; "[" is an ordinary character there.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern.at(p) == QLatin1Char('?') || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// The folder as it exists on disk: each part that does not exist as written is looked up without regard
// to letter case ("Schemes" finds "schemes"). Empty when some part cannot be found.
QString existingFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return folder;
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (const QString& part : parts) {
        QDir dir(current);
        if (QFileInfo(dir.filePath(part)).isDir()) {
            current = dir.filePath(part);
            continue;
        }
        const QStringList entries =
            dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const QString& entry) { return entry.compare(part, Qt::CaseInsensitive) == 0; });
        if (found == entries.end())
            return {};
        current = dir.filePath(*found);
    }
    return current;
}

} // namespace

void ListFiles(const QString& mask, QStringList& list)
{
    const QFileInfo maskInfo(mask);
    const QString folder = existingFolder(maskInfo.path());
    if (folder.isEmpty())
        return;
    const QString pattern = maskInfo.fileName();
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (wildcardMatch(name, pattern))
            list.append(name);
    }
}

void ShellOpen(const QString& target)
{
    if (target.isEmpty())
        return;
    const QFileInfo file(target);
    if (file.exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    else
        QDesktopServices::openUrl(QUrl::fromUserInput(target));
}
