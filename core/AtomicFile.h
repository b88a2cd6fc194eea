#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A file saved whole or not at all, for every file Parlivo writes: it is written under a temporary name beside its
// target and renamed over the target by commit(), so a crash, a full disk or a cancel leaves the old file as it was.
// Only a regular file, or no file, is ever replaced: a named pipe, a device or a socket at the name is refused, and
// so is a file the user has made read-only (the rename would get past it). Writes are unbuffered, so a write cut
// short shows at once. An uncommitted file is removed when this object goes.
class AtomicFile
{
public:
    explicit AtomicFile(const QString& path);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Starts the temporary file. False, with errorString(), when the target cannot be replaced.
    bool open();
    // Writes all the bytes; false, with errorString(), when they did not all reach the disk.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    bool writeAt(qint64 position, const QByteArray& bytes);
    // Renames the temporary file over the target; false, with errorString(), when it cannot (the target is then
    // untouched and the temporary file gone).
    bool commit();
    void cancel();

    QString fileName() const { return mFile.fileName(); }
    // Why the last step failed, in words a user understands ("the disk is full", "it is not a regular file").
    QString errorString() const { return mError; }

private:
    bool fail(const QString& reason);
    bool failWithSystemReason();

    QSaveFile mFile;
    QString mError;
};

// Replaces the file with the bytes through an AtomicFile: on failure the old file is untouched.
// Throws FileError "Cannot create file PATH (REASON)".
void SaveFileAtomically(const QString& path, const QByteArray& bytes);
