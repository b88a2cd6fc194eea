#include "core/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString overridden;

QString withSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString resolve()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeFolder).isWritable())
        return exeFolder;
    // Installed read-only: the user's data folder, seeded from the shipped files on first use.
    const QString data =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Parlivo");
    if (!QFileInfo::exists(data)) {
        QDir().mkpath(data);
        const QDir shipped(exeFolder);
        for (const QString& name : shipped.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QFileInfo source(shipped.filePath(name));
            if (source.isDir()) {
                QDir().mkpath(data + QLatin1Char('/') + name);
                for (const QString& file : QDir(source.filePath()).entryList(QDir::Files))
                    QFile::copy(source.filePath() + QLatin1Char('/') + file,
                                data + QLatin1Char('/') + name + QLatin1Char('/') + file);
            } else if (name == QLatin1String("Parlivo.ini")) {
                QFile::copy(source.filePath(), data + QLatin1Char('/') + name);
            }
        }
    }
    return data;
}
} // namespace

QString appFolder()
{
    if (overridden.isEmpty())
        overridden = withSeparator(resolve());
    return overridden;
}

void setAppFolder(const QString& folder)
{
    overridden = withSeparator(folder);
}

QString appPath(const QString& relative)
{
    return appFolder() + relative;
}
