#pragma once

#include <QString>
#include <QStringList>

// Appends to `list` the bare names of the files that match the mask ("folder/*.pvc"); the folder part is
// matched without regard to letter case when the exact folder does not exist.
void ListFiles(const QString& mask, QStringList& list);
// Opens a document, address or program with the desktop's handler.
void ShellOpen(const QString& target);
