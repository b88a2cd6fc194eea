#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// Where the words a pronunciation list replaced lie, in the text spoken and in the text written, so a position
// the voice reports in the spoken text can be put back on the written word.
class SpokenTextMap
{
public:
    struct Replacement
    {
        int spokenStart = 0;
        int spokenLength = 0;
        int writtenStart = 0;
        int writtenLength = 0;
    };

    // The written span of a spoken one: an end inside a replacement goes to that end of its written word; elsewhere
    // positions shift by what the replacements before them added or took away.
    std::pair<int, int> toWritten(int position, int length) const;
    void add(const Replacement& replacement) { mReplacements.push_back(replacement); }
    bool isEmpty() const { return mReplacements.empty(); }

private:
    int writtenPosition(int spoken, bool end) const;

    std::vector<Replacement> mReplacements; // in text order
};

// The lines of a pronunciation list that could not be read: how many, and the first few described, their text
// escaped so that a damaged file shows no control characters or stray bytes.
struct PronunciationProblems
{
    static constexpr qsizetype Described = 3;
    qsizetype count = 0;
    QStringList first; // "line 3 (why): its text", at most Described of them

    bool isEmpty() const { return count == 0; }
    // One line for a message: the line itself when there is one, else "12,345 lines could not be read; the
    // first: ...".
    QString summary() const;
};

// A teacher's list of how words are said: a UTF-8 file of lines "written=spoken", "#" starting a comment. Words
// are matched whole and without regard to case; a word listed twice is said as its later line says.
class PronunciationList
{
public:
    // Loads what is valid; the lines that are not (no "=", an empty side, a written side that is not one word, a
    // side over 200 characters) are counted in `problems`. A file that cannot be read is an empty list. Takes time
    // in proportion to the file's size, however often words repeat.
    static PronunciationList load(const QString& path, PronunciationProblems* problems = nullptr);
    static PronunciationList fromText(const QString& text, PronunciationProblems* problems = nullptr);
    // Why a written word and its spoken form (both trimmed) cannot be listed, or empty when they can.
    static QString problemWith(const QString& written, const QString& spoken);
    // The file's text: one line a word, in the order added.
    QString toText() const;

    bool isEmpty() const { return mSpoken.isEmpty(); }
    qsizetype size() const { return mWritten.size(); }
    const QStringList& written() const { return mWritten; }
    QString spokenFor(const QString& word) const { return mSpoken.value(word.toLower()); }
    // Adds or changes a word; an empty spoken form removes it.
    void set(const QString& written, const QString& spoken);

    // The text with every listed word replaced by its spoken form; `map` receives where. In markup, tags are left
    // as they are.
    QString apply(const QString& text, bool markup, SpokenTextMap* map = nullptr) const;

private:
    QStringList mWritten;            // as the teacher wrote them, in order
    QHash<QString, QString> mSpoken; // lower-cased written word to spoken form
};

// The user's pronunciation list, beside the settings.
QString UserPronunciationsPath();
