// Where the program's data files live: the folder that holds the program.
#pragma once

#include <QString>

namespace stonerush {

// The program's own folder, without a trailing slash.
QString applicationDirectory();

// Whether `directory` is the program folder of an installed copy: it ends in
// the folder, below the install prefix, that the build installs the program
// to (appinfo::installedProgramFolder, e.g. "lib/stonerush"), whatever the
// prefix (/usr, /usr/local, a staging folder).
bool isInstalledProgramDirectory(const QString& directory);

}  // namespace stonerush
