#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

// Marks a running copy of the program with a lock file named after it in the runtime folder. The lock holds
// the owner's process id, so the lock of a copy that crashed or was killed does not block the next start.
// The running copy also listens beside the lock, so a later start can hand it a document to open.
class SingleInstance
{
public:
    // folder: where the lock lives; empty for the user's runtime folder (or the temporary folder).
    explicit SingleInstance(const QString& name, const QString& folder = {});
    ~SingleInstance();
    // True when this is the only running copy; the lock is then held until this object goes.
    bool acquire();
    QString lockPath() const { return mLock.fileName(); }

    // In the running copy: calls `open` on the event loop with each path a later start hands over.
    void listen(std::function<void(const QString&)> open);
    // In a later start: hands `path` to the running copy. False when no copy listens or it does not answer.
    bool handOff(const QString& path) const;

private:
    QString socketPath() const;

    QLockFile mLock;
    std::unique_ptr<QLocalServer> mServer;
};
