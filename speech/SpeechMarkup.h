#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// What the voice actually says of a text: the text without its tags, with entities decoded, and for each spoken
// character the range of the text as given that it came from, so every reported position refers to that text.
struct SpokenText
{
    struct Silence
    {
        int at = 0;   // index into `text` before which the silence falls
        int msec = 0; // length
    };

    QString text;
    QList<int> from;         // source position of each character of `text`
    QList<int> to;           // source position just after it
    QList<Silence> silences; // in order of `at`

    void append(QChar c, int sourceFrom, int sourceTo);
    void clear();
    // Drops the first `count` characters and the silences before them; later indexes move down.
    void removeFront(int count);
};

// The longest silence one tag can ask for; longer ones are cut to it.
constexpr int MaxSilenceMsec = 10 * 60 * 1000;

// True when text given without the markup flag is markup all the same: it begins, after blanks, with a tag.
bool looksLikeMarkup(QStringView text);

// Reads the text as given, a stretch at a time, and appends what is spoken to a SpokenText. With markup,
// <silence msec='N'/> becomes a silence of N ms, every other well-formed tag, comment or declaration is skipped,
// and the five XML entities and character references are decoded; a '<' or '&' that begins nothing well-formed
// is ordinary text. Without markup every character is spoken as it is.
class MarkupReader
{
public:
    MarkupReader(const QString& source, bool markup);

    // Appends what the next `count` (or a few more) source characters say; false when the source is used up.
    bool read(SpokenText& out, int count);
    bool atEnd() const { return mPosition >= mSource.size(); }
    int position() const { return mPosition; }
    int size() const { return mSource.size(); }

private:
    bool readTag(SpokenText& out);
    bool readEntity(SpokenText& out);

    const QString mSource; // never written, so it stays shared with the caller's text
    bool mMarkup;
    int mPosition = 0;
};

// The whole text at once (what the reader produces piece by piece).
SpokenText spokenText(const QString& source, bool markup);
