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

// The largest day file an archive may hold. A real day is about 1 MB; each day file is
// copied and then read whole.
constexpr qint64 kMaxDayFileSize = 32 * 1024 * 1024;
// The most an archive may unpack to in all; never more than the free space of the disk.
constexpr qint64 kMaxArchiveSize = qint64(2) * 1024 * 1024 * 1024;

// What the archiver's technical listing ("l -slt") tells about an archive before anything
// is unpacked.
struct ArchiveListing
{
    int entryCount = 0;
    // Absolute paths, paths with a ".." component, symbolic and hard links.
    QStringList unsafeEntries;
    // "*.vdr" entries larger than kMaxDayFileSize, or whose size cannot be read.
    QStringList oversizedDayFiles;
    // The listed sizes added up. A file entry without a readable size counts as the largest
    // qint64, and so does any sum beyond it.
    qint64 totalSize = 0;
};

// Reads the full technical listing: a header about the archive itself, ended by a line of
// ten dashes, then one block of "Key = value" lines per entry, each starting with its
// "Path = " line. A mark of a link is never cleared by a later line, so a crafted name
// cannot hide one. Nothing before the dashes is taken as an entry; a listing without that
// line counts as of unknown size.
ArchiveListing readArchiveListing(const QByteArray &listing);

enum class Refusal
{
    None,
    UnsafeEntries,     // something would land outside the target directory
    OversizedDayFiles, // a day file larger than kMaxDayFileSize
    TooLarge           // more in all than archiveSizeLimit()
};

// The most an archive may unpack to on a disk with freeBytes available (negative when
// that is not known): kMaxArchiveSize, or the free space when less.
qint64 archiveSizeLimit(qint64 freeBytes);

// Whether, and why, a listed archive must not be unpacked onto a disk with freeBytes free.
Refusal refusalOf(const ArchiveListing &listing, qint64 freeBytes);

struct UnpackResult
{
    enum Status
    {
        Unpacked,          // the archiver ran and returned 0
        ArchiverMissing,   // no archiver was found; exitCode is -2
        ArchiverFailed,    // it could not be started, crashed, hung or returned non-zero
                           // (a file that is not a tar archive is among these)
        UnsafeEntries,     // the archive holds entries that would land outside the target
        OversizedDayFiles, // the archive holds a day file larger than kMaxDayFileSize
        TooLarge           // the archive unpacks to more than sizeLimit bytes
    };
    Status status = ArchiverFailed;
    // The archiver's exit code: -2 when it could not be started, -1 when it crashed or was
    // stopped after the time limit.
    int exitCode = -2;
    QString commandText;        // the extraction command as shown in the debug output
    QString archiverMessage;    // what the archiver wrote to its error output, trimmed
    QStringList refusedEntries; // the entries that made the archive be refused
    qint64 listedSize = 0;      // what the listing adds up to
    qint64 sizeLimit = 0;       // what it was allowed to add up to
    QStringList removedLinks;   // links found in the unpacked tree and removed (relative paths)
    bool ok() const { return status == Unpacked; }
};

// The arguments that extract the tar archive archivePath into targetDir:
// x, the archive, -ttar, -y, -o<dir>.
QStringList extractionArguments(const QString &archivePath, const QString &targetDir);

// The extraction command as the debug output shows it: the program and the archive in
// double quotes, the target directory right after -o:
//   "<program>" x "<archive>" -ttar -y -o<dir>
// For showing only; nothing is ever run through a command string.
QString commandText(const QString &program, const QString &archivePath, const QString &targetDir);

// Unpacks a tar archive with the console archiver into targetDir, run as a child process
// with an argument list; the archive is always opened as a tar, whatever it holds. Before
// anything is written, the archive's listing is read and the archive is refused as a whole
// when an entry is absolute, has a ".." component or is a symbolic or hard link, when a
// day file is larger than kMaxDayFileSize, or when it would unpack to more than
// archiveSizeLimit() of the target's disk. After unpacking, any link that still appears in
// the tree is removed, so nothing can lead out of targetDir. Blocks until the archiver
// ends, or kills it after timeoutMs.
UnpackResult unpackArchive(const QString &archiver, const QString &archivePath, const QString &targetDir,
                           int timeoutMs = 300000);

// Whether an entry path from an archive listing would land inside the target directory:
// relative, with no ".." component (either separator counts).
bool isSafeEntryPath(const QString &entryPath);

} // namespace dayimport
