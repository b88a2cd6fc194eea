#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Marks a running copy of the program with a lock file named after it in the runtime folder. The lock holds
// the owner's process id, so the lock of a copy that crashed or was killed does not block the next start.
class SingleInstance
{
public:
    // folder: where the lock lives; empty for the user's runtime folder (or the temporary folder).
    explicit SingleInstance(const QString& name, const QString& folder = {});
    // True when this is the only running copy; the lock is then held until this object goes.
    bool acquire();
    QString lockPath() const { return FLock.fileName(); }

private:
    QLockFile FLock;
};
