#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Profile (INI) files with the semantics Windows gives them: section and key names are found without regard to
// letter case, the first of duplicate sections or keys wins, and everything a write does not touch (comments,
// blank lines, unknown keys, their order) stays as the user left it.

// The longest value a read returns; longer values are cut.
inline constexpr int ProfileValueLimit = 2047;

// An integer as profile values hold it: signed decimal, or hexadecimal after "$" or after "0x"/"0X" with at
// least one digit ("-$10" is -16). Hexadecimal takes up to eight digits and wraps into the signed range, so
// "$80000000" is the lowest value. Nothing for a malformed or out-of-range text.
std::optional<qint32> ParseProfileInteger(QStringView text);

// A whole profile file in memory, for reads and for edits that land in the file in one write.
// Parsing and every lookup take time linear in the size of the file.
class ProfileDocument
{
public:
    ProfileDocument() = default;
    static ProfileDocument fromText(const QString& text);
    // A missing file gives an empty document; a file that exists but cannot be read throws FileError.
    static ProfileDocument load(const QString& path);

    // The value of the key in the section, blanks trimmed and one pair of enclosing quotes removed; nothing
    // when the section or the key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Replaces the first line of the key in the section, or adds the key at the end of the section, or adds the
    // section at the end of the file. Line breaks inside the value become spaces so the value stays one line.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Removes the first line of the key in the section; false when there was none.
    bool removeKey(QStringView section, QStringView key);

    const QStringList& lines() const { return mLines; }
    // The lines, each ending in CR LF.
    QString toText() const;
    // Writes the document atomically (see SaveFileAtomically), in Windows-1252 when every character fits.
    void save(const QString& path) const;

private:
    // Index of the header line of the first section of that name, or -1.
    int findSection(QStringView section) const;
    // Index of the first line of the key within the section whose header is at `header`, or -1.
    int findKey(int header, QStringView key) const;
    // Index one past the last line that belongs to the section whose header is at `header`.
    int sectionEnd(int header) const;

    QStringList mLines;
};

// One profile file, read and written one value at a time. Nothing is held open: each read parses the file
// afresh and each write replaces it at once.
class ProfileStrings
{
public:
    explicit ProfileStrings(QString path) : mPath(std::move(path)) {}

    const QString& path() const { return mPath; }

    // The value, at most ProfileValueLimit characters; the default when the file, the section or the key is
    // missing or the file cannot be read.
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    // The value as an integer (see ParseProfileInteger), or the default when it is missing or malformed.
    qint32 readInteger(QStringView section, QStringView key, qint32 defaultValue) const;

    // Throw FileError when the file cannot be read or written; the file then keeps its old content.
    void writeString(const QString& section, const QString& key, const QString& value) const;
    void writeInteger(const QString& section, const QString& key, qint32 value) const;

private:
    QString mPath;
};
