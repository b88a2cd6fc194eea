#pragma once

#include <QString>

class ProfileStrings;

inline const QString WritingHelpSection = QStringLiteral("Writing Help");

// Which of the writing aids are on. They mark and offer; they never change the text unless the user picks an offer.
struct WritingHelp
{
    bool SpellCheck = true; // misspelt words get a wavy underline
    // Words often swapped for others that sound alike are marked in a second colour. Off until chosen: common words
    // ("to", "there") are among them, and a reading area that marks them all no longer looks as it did.
    bool Confusables = false;
    bool WordPrediction = false; // a list of likely words near the caret while typing

    bool operator==(const WritingHelp&) const = default;
};

// Reads the "Writing Help" section; missing or malformed keys give the defaults.
WritingHelp ReadWritingHelp(const ProfileStrings& ini);
// Writes every key of the section. Throws FileError when the file cannot be written.
void WriteWritingHelp(const ProfileStrings& ini, const WritingHelp& help);
