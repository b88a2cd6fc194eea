#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where reading stopped in the documents opened lately, the most recent first: the caret of each document, and
// the list of recent documents that the Open button offers. Kept in a file of its own beside the settings.
class ReadingPlaces
{
public:
    static constexpr int RecentCount = 10; // documents the Open button's menu lists
    static constexpr int Capacity = 100;   // documents whose place is kept; the oldest is forgotten first

    explicit ReadingPlaces(QString path) : mPath(std::move(path)) {}

    // Reads the file. A missing, unreadable or malformed file gives no places and no message; entries that make
    // no sense (no path, a negative place) are skipped.
    void load();
    // Writes the file atomically. Throws FileError naming the file; the old file is then untouched.
    void save() const;

    // Remembers the caret of `document` and makes it the most recent document. With the document's `text`, the words
    // around the caret are kept too, so the place can be found again after the document is edited elsewhere.
    void remember(const QString& document, int caret, const QString& text = {});
    // The caret remembered for `document`, or nothing. With the document's `text` as it is now, the kept words are
    // looked for (the occurrence nearest the remembered caret wins); when they are gone, the caret stays at its
    // offset, moved back to the start of the word it falls in. A place kept without words is its offset.
    std::optional<int> place(const QString& document, const QString& text = {}) const;
    void forget(const QString& document);
    // The most recent documents, at most RecentCount, the most recent first.
    QStringList recent() const;

    // The key a document is kept under: its absolute, cleaned path.
    static QString key(const QString& document);

private:
    struct Place
    {
        QString document;
        int caret = 0;
        // The text just before and just after the caret when it was remembered.
        QString before;
        QString after;
    };
    qsizetype indexOf(const QString& key) const;

    QString mPath;
    QList<Place> mPlaces;
};
