#include "formats/ReadingPlaces.h"

#include "core/Errors.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBoundaryFinder>

#include <limits>

namespace {
// The file is small: one that is much larger was not written by us.
constexpr qint64 MaxFileBytes = 1024 * 1024;
// Characters kept on each side of a place: enough words that they are unlikely to stand anywhere else.
constexpr qsizetype ContextLength = 40;
// The words of one side alone are looked for only when there are this many: a few letters could stand anywhere.
constexpr qsizetype ShortestSide = 20;

// The start of the occurrence of `needle` in `text` nearest to `around`, or -1.
qsizetype nearestOccurrence(const QString& text, const QString& needle, qsizetype around)
{
    around = qMin(around, text.size());
    const qsizetype later = text.indexOf(needle, around);
    const qsizetype earlier = around > 0 ? text.lastIndexOf(needle, around - 1) : -1;
    if (earlier < 0)
        return later;
    return later < 0 || around - earlier <= later - around ? earlier : later;
}

// A place in the middle of a word moves back to the word's start, so reading resumes on a whole word.
qsizetype wordStart(const QString& text, qsizetype position)
{
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(position);
    if (words.isAtBoundary())
        return position;
    return qMax<qsizetype>(words.toPreviousBoundary(), 0);
}
} // namespace

QString ReadingPlaces::key(const QString& document)
{
    return QDir::cleanPath(QFileInfo(document).absoluteFilePath());
}

qsizetype ReadingPlaces::indexOf(const QString& key) const
{
    for (qsizetype i = 0; i < mPlaces.size(); ++i)
        if (mPlaces[i].document == key)
            return i;
    return -1;
}

void ReadingPlaces::load()
{
    mPlaces.clear();
    QFile file(mPath);
    if (file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonArray documents = QJsonDocument::fromJson(file.readAll()).object().value(u"documents").toArray();
    for (const QJsonValue& entry : documents) {
        const QJsonObject fields = entry.toObject();
        const QString document = fields.value(u"path").toString();
        const double caret = fields.value(u"caret").toDouble(-1);
        if (document.isEmpty() || caret < 0 || caret > std::numeric_limits<int>::max())
            continue;
        const QString cleaned = key(document);
        if (indexOf(cleaned) >= 0)
            continue;
        // Entries written before the words around a place were kept have none: their offset is the place.
        mPlaces.append(
            {cleaned, static_cast<int>(caret), fields.value(u"before").toString(), fields.value(u"after").toString()});
        if (mPlaces.size() == Capacity)
            break;
    }
}

void ReadingPlaces::save() const
{
    QJsonArray documents;
    for (const Place& place : mPlaces)
        documents.append(QJsonObject{{QStringLiteral("path"), place.document},
                                     {QStringLiteral("caret"), place.caret},
                                     {QStringLiteral("before"), place.before},
                                     {QStringLiteral("after"), place.after}});
    const QJsonObject root{{QStringLiteral("documents"), documents}};
    SaveFileAtomically(mPath, QJsonDocument(root).toJson(QJsonDocument::Indented));
}

void ReadingPlaces::remember(const QString& document, int caret, const QString& text)
{
    const QString cleaned = key(document);
    const qsizetype found = indexOf(cleaned);
    if (found >= 0)
        mPlaces.removeAt(found);
    Place place{cleaned, qMax(0, caret), {}, {}};
    if (!text.isEmpty()) {
        place.caret = int(qMin<qsizetype>(place.caret, text.size()));
        // The kept words never begin or end in half a character, which the file could not hold.
        qsizetype start = qMax<qsizetype>(place.caret - ContextLength, 0);
        if (start > 0 && text.at(start).isLowSurrogate())
            ++start;
        place.before = text.sliced(start, place.caret - start);
        place.after = text.mid(place.caret, ContextLength);
        if (!place.after.isEmpty() && place.after.back().isHighSurrogate())
            place.after.chop(1);
    }
    mPlaces.prepend(place);
    if (mPlaces.size() > Capacity)
        mPlaces.resize(Capacity);
}

std::optional<int> ReadingPlaces::place(const QString& document, const QString& text) const
{
    const qsizetype found = indexOf(key(document));
    if (found < 0)
        return std::nullopt;
    const Place& place = mPlaces[found];
    if (text.isEmpty() || (place.before.isEmpty() && place.after.isEmpty()))
        return place.caret;
    // The words on both sides first; then, when the text was edited right beside the place, the words on one side.
    const qsizetype contextStart = place.caret - place.before.size();
    if (const qsizetype at = nearestOccurrence(text, place.before + place.after, contextStart); at >= 0)
        return int(at + place.before.size());
    if (place.after.size() >= ShortestSide)
        if (const qsizetype at = nearestOccurrence(text, place.after, place.caret); at >= 0)
            return int(at);
    if (place.before.size() >= ShortestSide)
        if (const qsizetype at = nearestOccurrence(text, place.before, contextStart); at >= 0)
            return int(at + place.before.size());
    return int(wordStart(text, qMin<qsizetype>(place.caret, text.size())));
}

void ReadingPlaces::forget(const QString& document)
{
    const qsizetype found = indexOf(key(document));
    if (found >= 0)
        mPlaces.removeAt(found);
}

QStringList ReadingPlaces::recent() const
{
    QStringList documents;
    for (qsizetype i = 0; i < mPlaces.size() && i < RecentCount; ++i)
        documents << mPlaces[i].document;
    return documents;
}
