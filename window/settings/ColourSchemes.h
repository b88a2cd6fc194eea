#pragma once

#include "window/settings/AppearanceSettings.h"

#include <QString>
#include <QStringList>

// Colour scheme files: "<name>.pvc" in the "schemes" folder of the application folder, a section line and one
// "key=value" line per appearance field, found by key without regard to letter case.

// The scheme folder. Its name is matched without regard to letter case, so "Schemes" and "schemes" reach the
// same folder; when none exists, the path where "schemes" would be.
QString SchemeFolder();
// The scheme names in case-insensitive order without duplicates: the file names less their last four characters.
QStringList SchemeNames();
// False for a name that could reach outside the scheme folder or cannot be a file name: a path separator, "..",
// a control character, or nothing but blanks.
bool IsSafeSchemeName(const QString& name);
// The file of the scheme: an existing file whose name matches without regard to letter case, otherwise
// "<folder>/<name>.pvc".
QString SchemeFilePath(const QString& name);

// Reads a text file as lines (UTF-8 when valid, else Windows-1252; CR LF, LF or CR endings). Throws FileError
// "Cannot open file <path>" when it cannot be read.
QStringList ReadTextLines(const QString& path);
// Writes the lines, each ending in CR LF, atomically. Throws FileError when the file cannot be written.
void WriteTextLines(const QString& path, const QStringList& lines);

// Index of the first line that has an "=" and whose text before it is the key (letter case and surrounding
// blanks aside), or -1.
int FindKeyLine(const QStringList& lines, QStringView key);
// The trimmed text after the "=" of the key's line, or the empty text when no line has the key.
QString KeyLineValue(const QStringList& lines, QStringView key);
// Replaces the key's line by "key=value", or appends that line when none has the key.
void SetKeyLine(QStringList& lines, const QString& key, const QString& value);

// The twelve fields a scheme file holds, in file order (field numbers of AppearanceSettings).
const std::array<int, 12>& SchemeFields();
// The lines of a scheme file for the record, without the "Name" line.
QStringList SchemeLines(const AppearanceSettings& appearance);

// Copies the scheme's values into the "Customisation" section of the settings file and then into the record.
// Keys the scheme lacks are removed from the settings file. Throws FileError "Cannot open file <path>" when the
// scheme or the settings file cannot be read (nothing changes), FileError "Cannot create file <path>" when the
// settings file cannot be written (nothing changes), and ConversionError when a value the record needs is
// missing or not an integer (the settings file is rewritten and the fields converted before it keep their new
// values).
void CopySchemeIntoSettings(const QString& schemePath, const QString& settingsPath, AppearanceSettings& appearance);
