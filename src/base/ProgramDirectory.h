#pragma once

#include <QString>

// The folder of the running executable, whatever the working directory: the reader library,
// AppConfig.ini, the backgrounds, the help file and the command books all live there.
QString ProgramDirectory();

// `fileName` inside the program's folder.
QString ProgramFilePath(const QString &fileName);

// Puts the program's folder elsewhere (tests start the program against broken folders); an
// empty folder restores the executable's own.
void SetProgramDirectoryOverride(const QString &folder);
