#include "core/AtomicFile.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("AtomicFile", text);
}

// Why the target at `path` may not be replaced; empty when it may.
QString refusal(const QString& path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return tr("the folder does not exist");
    if (!info.exists())
        return {};
    if (info.isDir())
        return tr("it is a folder");
    // A pipe, a device or a socket: the rename would put a regular file in its place.
    if (!info.isFile())
        return tr("it is not a regular file");
    if (!info.isWritable())
        return tr("the file is read-only");
    return {};
}

bool saysSystemError(const QString& reason, int error)
{
    return reason == QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

AtomicFile::AtomicFile(const QString& path) : mFile(path) {}

bool AtomicFile::open()
{
    if (const QString reason = refusal(mFile.fileName()); !reason.isEmpty())
        return fail(reason);
    // Unbuffered, every write reports what reached the disk: through the buffer a write cut short by a full disk
    // looks whole, and the truncated file would replace the old one.
    if (!mFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWithSystemReason();
    return true;
}

bool AtomicFile::write(const char* data, qint64 size)
{
    // A write that stops part-way (the disk filled up) reports no error of its own; the next one says why.
    for (qint64 written = 0; written < size;) {
        const qint64 count = mFile.write(data + written, size - written);
        if (count <= 0)
            return failWithSystemReason();
        written += count;
    }
    return true;
}

bool AtomicFile::writeAt(qint64 position, const QByteArray& bytes)
{
    if (!mFile.seek(position))
        return failWithSystemReason();
    return write(bytes);
}

bool AtomicFile::commit()
{
    // The name may have changed hands since open().
    if (const QString reason = refusal(mFile.fileName()); !reason.isEmpty()) {
        mFile.cancelWriting();
        return fail(reason);
    }
    if (!mFile.commit())
        return failWithSystemReason();
    return true;
}

void AtomicFile::cancel()
{
    mFile.cancelWriting();
}

bool AtomicFile::fail(const QString& reason)
{
    mError = reason;
    return false;
}

bool AtomicFile::failWithSystemReason()
{
    const QString reason = mFile.errorString();
    if (mFile.error() == QFileDevice::ResourceError || saysSystemError(reason, ENOSPC) ||
        saysSystemError(reason, EDQUOT))
        return fail(tr("the disk is full"));
    if (saysSystemError(reason, EFBIG))
        return fail(tr("the file is larger than this system allows"));
    return fail(reason);
}

void SaveFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        file.cancel();
        throw FileError(QStringLiteral("Cannot create file %1 (%2)").arg(path, file.errorString()));
    }
}
