// Where the program's data files live: the folder that holds the program.
#pragma once

#include <QString>

// The program's own directory, without a trailing slash.
QString ApplicationDirectory();

// A data file beside the program, e.g. DataFilePath("help.htm").
QString DataFilePath(const QString& fileName);

// Whether `directory` is the program folder of an installed copy: it ends in
// the folder, below the install prefix, that the build installs the program
// to (app_info::InstalledProgramFolder, e.g. "lib/stonerush"), whatever the
// prefix (/usr, /usr/local, a staging folder).
bool IsInstalledProgramDirectory(const QString& directory);
