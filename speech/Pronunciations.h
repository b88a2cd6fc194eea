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

// A teacher's list of how words are said: a UTF-8 file of lines "written=spoken", "#" starting a comment. Words
// are matched whole and without regard to case.
class PronunciationList
{
public:
    // Loads what is valid; each line that is not (no "=", an empty side, a written side that is not one word, a
    // side over 200 characters) is described in `problems`. A file that cannot be read is an empty list.
    static PronunciationList load(const QString& path, QStringList* problems = nullptr);
    static PronunciationList fromText(const QString& text, QStringList* problems = nullptr);
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
