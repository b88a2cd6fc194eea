#pragma once

#include <QList>
#include <QStringView>

// Where a web address lies in a text, counted in UTF-16 units like reading-area positions.
struct TextLink
{
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    bool operator==(const TextLink&) const = default;
};

// Finds the web addresses in `text`: words beginning with http://, https://, ftp://, mailto: or www.
// (any letter case) that are not glued to a preceding letter or digit. A link ends at white space or
// at a character that cannot stand in an address; punctuation that closes a sentence
// (. , ; : ! ? ' ") and a closing bracket without its opening one are not part of it.
// Runs in time linear in the length of the text.
QList<TextLink> FindLinks(QStringView text);

// The link that covers the character at `position`, or nothing (length 0). Looks only at the
// white-space-delimited word around the position, so it is cheap in a long paragraph, and agrees with
// FindLinks because a link never spans white space.
TextLink LinkAt(QStringView text, qsizetype position);
