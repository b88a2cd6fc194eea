#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString lockFolder(const QString& folder)
{
    if (!folder.isEmpty())
        return folder;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}
} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : FLock(lockFolder(folder) + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
    // Only a live owner counts; age alone never makes a lock stale.
    FLock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return FLock.tryLock(0);
}
