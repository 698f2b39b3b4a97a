#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Bringing day files into the working directory: from a folder the user chose, or from a
// tar archive that the console archiver unpacks into the archive directory first.
namespace dayimport {

// The day an imported file stands for. The name (without directory) must split at every
// '_' into exactly three pieces, and the first piece must be "D" followed by exactly eight
// digits yyyyMMdd forming a real date. Returns an invalid date for any other name.
QDate importableDay(const QString &fileName);

// Whether symbolic links among a folder's entries are taken as files. A folder chosen by
// the user is taken as it is; an unpacked archive never is (a link could point anywhere).
enum class Links
{
    Follow,
    Skip
};

struct DayFile
{
    QString name; // file name in the folder
    QDate day;
};

struct FolderListing
{
    QStringList vdrFiles; // every "*.vdr" regular file at the top level, case-insensitive name order
    QList<DayFile> days;  // those of them whose names give a day, in the same order
};

FolderListing listFolder(const QString &dir, Links links);

struct CopyResult
{
    enum Kind
    {
        Copied,       // the file now lies in the working directory
        AlreadyThere, // an earlier file of the same day was copied; it is left as it is
        Failed        // nothing was written; error says why
    };
    Kind kind = Failed;
    QString error;
};

// Copies a day file to target. An existing target is never overwritten. A failed copy
// leaves no partial target behind.
CopyResult copyDayFile(const QString &source, const QString &target);

// --- tar archives ---

struct UnpackResult
{
    enum Status
    {
        Unpacked,        // the archiver ran and returned 0
        ArchiverMissing, // no archiver was found; exitCode is -2
        ArchiverFailed,  // it could not be started, crashed, hung or returned non-zero
        UnsafeEntries    // the archive holds entries that would land outside the target
    };
    Status status = ArchiverFailed;
    // The archiver's exit code: -2 when it could not be started, -1 when it crashed or was
    // stopped after the time limit.
    int exitCode = -2;
    QString commandText;       // the extraction command as shown in the debug output
    QString archiverMessage;   // what the archiver wrote to its error output, trimmed
    QStringList unsafeEntries; // entry paths that made the archive be refused
    QStringList removedLinks;  // links found in the unpacked tree and removed (relative paths)
    bool ok() const { return status == Unpacked; }
};

// The entries of the archiver's technical listing ("l -slt", with or without "-ba") that
// must not be unpacked: absolute paths, paths with a ".." component, symbolic and hard links.
QStringList unsafeListedEntries(const QByteArray &listing);

// The arguments that extract archivePath into targetDir: x, the archive, -y, -o<dir>.
QStringList extractionArguments(const QString &archivePath, const QString &targetDir);

// A command line as shown in the debug output: each piece that holds a blank or a quote is
// put in double quotes. For showing only; nothing is ever run through a command string.
QString commandText(const QString &program, const QStringList &arguments);

// Unpacks a tar archive with the console archiver into targetDir, run as a child process
// with an argument list (x, archive, -y, -o<dir>). Before anything is written, the
// archive's listing is read: an archive with an absolute entry, an entry with a ".."
// component, or a symbolic or hard link entry is refused as a whole. After unpacking, any
// link that still appears in the tree is removed, so nothing can lead out of targetDir.
// Blocks until the archiver ends, or kills it after timeoutMs.
UnpackResult unpackArchive(const QString &archiver, const QString &archivePath, const QString &targetDir,
                           int timeoutMs = 300000);

// Whether an entry path from an archive listing would land inside the target directory:
// relative, with no ".." component (either separator counts).
bool isSafeEntryPath(const QString &entryPath);

} // namespace dayimport
