#pragma once

#include <QString>

// Everything that differs between the desktop platforms: who the user is, where the
// program keeps its working files, and where the console archiver lives.
namespace platform {

// Login name of the current user; empty when it cannot be read.
QString userName();

// A directory of the Windows program under the user's local application data:
// "C:/Users/<userName>/AppData/Local/<directoryName>". The name goes in as text, whatever
// its script, never through an 8-bit code page.
QString windowsLocalDataPath(const QString &userName, const QString &directoryName);

// Directory that holds the day files of the date list ("ZtTemp").
QString workingDirectoryPath();

// Directory into which a tar archive is unpacked ("ZtTar").
QString archiveDirectoryPath();

// Where the console archiver is expected: beside the program's executable.
QString archiverBesideProgram();

// Full path of the console archiver, or an empty string when none is found.
// Looked up beside the program's executable first, then on the PATH.
QString archiverProgram();

// Removes one of the two working directories with all its content. Refuses (returns
// false, touches nothing) any path whose last component is not "ZtTemp" or "ZtTar".
// A missing directory counts as removed.
bool removeWorkingDirectory(const QString &path);

// Called first thing in main(). While TZ is unset, the C library looks at /etc/localtime again
// (a file status call, under a lock the threads queue for) on every local-time conversion, and
// a day has tens of thousands of them; naming that same file in TZ (":/etc/localtime") makes it
// read the zone once. The zone does not change. Nothing is done when TZ is set, when there is no
// /etc/localtime, or on Windows, where TZ means something else.
void settleLocalTimeZone();

} // namespace platform
