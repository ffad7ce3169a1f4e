// Where the program's data files live: the folder that holds the program.
#pragma once

#include <QString>

// The program's own directory, without a trailing slash.
QString ApplicationDirectory();

// A data file beside the program, e.g. DataFilePath("help.htm").
QString DataFilePath(const QString& fileName);
