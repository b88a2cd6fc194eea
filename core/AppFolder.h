#pragma once

#include <QString>

// The folder that holds Parlivo.ini, "schemes", "Spelling Test Files" and "Lists": the executable's folder
// when it is writable, otherwise $XDG_DATA_HOME/Parlivo. Always ends with a separator.
QString appFolder();
// Tests point the program at a folder of their own.
void setAppFolder(const QString& folder);

// A path below the application folder, e.g. appPath("Spelling Test Files").
QString appPath(const QString& relative);
