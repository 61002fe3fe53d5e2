#pragma once

#include <QString>

// The folder of the running executable, whatever the working directory: the reader library,
// AppConfig.ini, the backgrounds, the help file and the manual live there, and the command
// books when the folder is writable.
QString ProgramDirectory();

// `fileName` inside the program's folder.
QString ProgramFilePath(const QString &fileName);

// Where the program keeps a file that it writes and reads back (the command books). Beside the
// program when the user can write its folder (a build folder, a copy of the program folder);
// otherwise, as for an installed package, in the user's data folder ($XDG_DATA_HOME/Vornex,
// ~/.local/share/Vornex), where the program folder's copy of the file, when there is one, is copied
// the first time the file is asked for.
QString ProgramDataFilePath(const QString &fileName);

// Puts the program's folder elsewhere (tests start the program against broken folders); an
// empty folder restores the executable's own.
void SetProgramDirectoryOverride(const QString &folder);
