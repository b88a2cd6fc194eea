#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class ProfileStrings;

inline const QString ReadingAidsSection = QStringLiteral("Reading Aids");

// How the reading area is drawn for learners: its typeface, line and letter spacing, a focus strip around the
// spoken word and words split into syllables. They change only what is drawn, never the document. The defaults
// draw the reading area as it has always been drawn.
struct ReadingAids
{
    QString FontFamily;                 // empty: the reading area's usual face
    bool OverrideDocumentFonts = false; // also replace the faces that a rich-text document sets itself
    qint32 LineSpacing = 100;           // percent of the usual line height, 100 to 250
    qint32 LetterSpacing = 100;         // percent of the usual letter advance, 100 (normal) to 150 (wide)
    qint32 FocusLines = 0;              // lines kept clear around the spoken word: 0 (off), 1, 3 or 5
    bool FocusWhenIdle = false;         // keep the strip on the caret when nothing is being read
    bool Syllables = false;             // a middle dot between the syllables of each word

    static constexpr qint32 MinLineSpacing = 100;
    static constexpr qint32 MaxLineSpacing = 250;
    static constexpr qint32 MinLetterSpacing = 100;
    static constexpr qint32 MaxLetterSpacing = 150;

    // Whether the letters are drawn otherwise (the line spacing is the layout's, not the letters').
    bool changesLetters() const { return !FontFamily.isEmpty() || LetterSpacing != 100 || Syllables; }
    // Brings hand-edited values into their ranges; a focus of 2 or 4 lines becomes the next odd count.
    ReadingAids normalised() const;

    bool operator==(const ReadingAids&) const = default;
};

// Reads the keys of the "Reading Aids" section; missing or malformed keys give the defaults.
ReadingAids ReadReadingAids(const ProfileStrings& ini);
// Writes every key of the section. Throws FileError when the file cannot be written.
void WriteReadingAids(const ProfileStrings& ini, const ReadingAids& aids);

// The dyslexia-friendly face offered first in the typeface choice.
inline const QString DyslexicFontFamily = QStringLiteral("OpenDyslexic");
// The faces offered for the reading area: OpenDyslexic first when it is installed, then the system's faces in
// alphabetical order, without the variants of OpenDyslexic.
QStringList ReadingFontFamilies();
