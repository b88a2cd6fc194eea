#include "formats/ReadingPlaces.h"

#include "core/Errors.h"
#include "core/ProfileStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace {
// The file is small: one that is much larger was not written by us.
constexpr qint64 kMaxFileBytes = 1024 * 1024;
} // namespace

QString ReadingPlaces::key(const QString& document)
{
    return QDir::cleanPath(QFileInfo(document).absoluteFilePath());
}

qsizetype ReadingPlaces::indexOf(const QString& key) const
{
    for (qsizetype i = 0; i < FPlaces.size(); ++i)
        if (FPlaces[i].document == key)
            return i;
    return -1;
}

void ReadingPlaces::load()
{
    FPlaces.clear();
    QFile file(FPath);
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonArray documents = QJsonDocument::fromJson(file.readAll()).object().value(u"documents").toArray();
    for (const QJsonValue& entry : documents) {
        const QString document = entry.toObject().value(u"path").toString();
        const double caret = entry.toObject().value(u"caret").toDouble(-1);
        if (document.isEmpty() || caret < 0 || caret > std::numeric_limits<int>::max())
            continue;
        const QString cleaned = key(document);
        if (indexOf(cleaned) >= 0)
            continue;
        FPlaces.append({cleaned, static_cast<int>(caret)});
        if (FPlaces.size() == Capacity)
            break;
    }
}

void ReadingPlaces::save() const
{
    QJsonArray documents;
    for (const Place& place : FPlaces)
        documents.append(QJsonObject{{QStringLiteral("path"), place.document}, {QStringLiteral("caret"), place.caret}});
    const QJsonObject root{{QStringLiteral("documents"), documents}};
    SaveFileAtomically(FPath, QJsonDocument(root).toJson(QJsonDocument::Indented));
}

void ReadingPlaces::remember(const QString& document, int caret)
{
    const QString cleaned = key(document);
    const qsizetype found = indexOf(cleaned);
    if (found >= 0)
        FPlaces.removeAt(found);
    FPlaces.prepend({cleaned, qMax(0, caret)});
    if (FPlaces.size() > Capacity)
        FPlaces.resize(Capacity);
}

std::optional<int> ReadingPlaces::place(const QString& document) const
{
    const qsizetype found = indexOf(key(document));
    if (found < 0)
        return std::nullopt;
    return FPlaces[found].caret;
}

void ReadingPlaces::forget(const QString& document)
{
    const qsizetype found = indexOf(key(document));
    if (found >= 0)
        FPlaces.removeAt(found);
}

QStringList ReadingPlaces::recent() const
{
    QStringList documents;
    for (qsizetype i = 0; i < FPlaces.size() && i < RecentCount; ++i)
        documents << FPlaces[i].document;
    return documents;
}
