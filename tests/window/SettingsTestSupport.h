#pragma once

#include "core/AppFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

// An application folder of its own for each test, with an empty scheme folder.
struct TempAppFolder
{
    QTemporaryDir dir;
    TempAppFolder()
    {
        setAppFolder(dir.path());
        QDir(dir.path()).mkdir(QStringLiteral("schemes"));
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString settings() const { return path(QStringLiteral("Parlivo.ini")); }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(path(relative));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// Runs `action` while no file of this process may grow past `bytes`, as on a full disk.
void WithFileSizeLimit(long bytes, const std::function<void()>& action);
