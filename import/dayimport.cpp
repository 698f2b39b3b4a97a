#include "import/dayimport.h"

#include "vdr/dayfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace dayimport {

QDate importableDay(const QString &fileName)
{
    const QStringList pieces = fileName.split(QLatin1Char('_'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (pieces.size() != 3)
        return QDate();
    const QString &first = pieces.first();
    if (first.size() != 9 || first.at(0) != QLatin1Char('D'))
        return QDate();
    for (int i = 1; i < first.size(); ++i) {
        const ushort c = first.at(i).unicode();
        if (c < '0' || c > '9')
            return QDate();
    }
    return QDate::fromString(first.mid(1), QStringLiteral("yyyyMMdd"));
}

FolderListing listFolder(const QString &dir, Links links)
{
    QDir::Filters filters = QDir::Files;
    if (links == Links::Skip)
        filters |= QDir::NoSymLinks;
    FolderListing listing;
    listing.vdrFiles = QDir(dir).entryList({QStringLiteral("*.vdr")}, filters, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : qAsConst(listing.vdrFiles)) {
        const QDate day = importableDay(name);
        if (day.isValid())
            listing.days.append({name, day});
    }
    return listing;
}

CopyResult copyDayFile(const QString &source, const QString &target)
{
    CopyResult result;
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        if (targetInfo.isFile() && !targetInfo.isSymLink()) {
            result.kind = CopyResult::AlreadyThere;
            return result;
        }
        result.error = QStringLiteral("the target exists and is not a day file");
        return result;
    }
    QFile in(source);
    if (!in.copy(target)) {
        result.error = in.errorString();
        // QFile::copy writes through a temporary file; make sure nothing half-written stays.
        if (QFileInfo::exists(target))
            QFile::remove(target);
        return result;
    }
    result.kind = CopyResult::Copied;
    return result;
}

bool isSafeEntryPath(const QString &entryPath)
{
    if (entryPath.isEmpty())
        return false;
    if (entryPath.startsWith(QLatin1Char('/')) || entryPath.startsWith(QLatin1Char('\\')))
        return false;
    // A drive letter ("C:...") is absolute or drive-relative on Windows.
    if (entryPath.size() >= 2 && entryPath.at(1) == QLatin1Char(':'))
        return false;
    QString normalised = entryPath;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = normalised.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return true;
}

namespace {

struct ProcessRun
{
    int exitCode = -2;
    QByteArray out;
    QByteArray err;
};

ProcessRun runProcess(const QString &program, const QStringList &arguments, int timeoutMs)
{
    ProcessRun run;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The archiver must never wait for an answer on its input.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        run.err = process.errorString().toUtf8();
        return run;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.exitCode = -1;
        run.err = "the archiver did not finish in time and was stopped";
        return run;
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// Entries of a technical listing ("l -slt"): blocks of "Key = value" lines, one block per
// entry, starting with its "Path = " line.
struct ListedEntry
{
    QString path;
    QString mode;
    QString symbolicLink;
    QString hardLink;
};

QList<ListedEntry> parseListing(const QByteArray &out)
{
    QList<ListedEntry> entries;
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'));
    bool inEntries =
        !lines.contains(QStringLiteral("----------")) && !lines.contains(QStringLiteral("----------\r"));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line == QLatin1String("----------")) {
            inEntries = true;
            continue;
        }
        if (!inEntries)
            continue;
        const int eq = line.indexOf(QLatin1String(" = "));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 3);
        if (key == QLatin1String("Path")) {
            entries.append(ListedEntry{value, {}, {}, {}});
            continue;
        }
        if (entries.isEmpty())
            continue;
        ListedEntry &entry = entries.last();
        if (key == QLatin1String("Mode"))
            entry.mode = value;
        else if (key == QLatin1String("Symbolic Link"))
            entry.symbolicLink = value;
        else if (key == QLatin1String("Hard Link"))
            entry.hardLink = value;
    }
    return entries;
}

bool isLinkEntry(const ListedEntry &entry)
{
    return !entry.symbolicLink.isEmpty() || !entry.hardLink.isEmpty() ||
           entry.mode.startsWith(QLatin1Char('l')) || entry.mode.startsWith(QLatin1Char('h'));
}

} // namespace

QStringList extractionArguments(const QString &archivePath, const QString &targetDir)
{
    // An absolute archive path can never be taken for a switch of the archiver.
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    const QString target = QDir::cleanPath(QFileInfo(targetDir).absoluteFilePath());
    return {QStringLiteral("x"), archive, QStringLiteral("-y"), QStringLiteral("-o") + target};
}

QString commandText(const QString &program, const QStringList &arguments)
{
    QStringList shown;
    for (const QString &piece : QStringList{program} + arguments) {
        if (piece.contains(QLatin1Char(' ')) || piece.contains(QLatin1Char('"')))
            shown << QLatin1Char('"') + piece + QLatin1Char('"');
        else
            shown << piece;
    }
    return shown.join(QLatin1Char(' '));
}

UnpackResult unpackArchive(const QString &archiver, const QString &archivePath, const QString &targetDir,
                           int timeoutMs)
{
    UnpackResult result;
    const QStringList arguments = extractionArguments(archivePath, targetDir);
    const QString archive = arguments.at(1);
    const QString target = arguments.at(3).mid(2);
    result.commandText = commandText(archiver.isEmpty() ? QStringLiteral("7za") : archiver, arguments);

    if (archiver.isEmpty()) {
        result.status = UnpackResult::ArchiverMissing;
        result.exitCode = -2;
        result.archiverMessage =
            QStringLiteral("no archiver (7za, 7z or 7zz) beside the program or on the PATH");
        return result;
    }

    const ProcessRun listing = runProcess(
        archiver, {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-ba"), archive}, timeoutMs);
    if (listing.exitCode != 0) {
        result.exitCode = listing.exitCode;
        result.archiverMessage = QString::fromLocal8Bit(listing.err).trimmed();
        return result;
    }
    for (const ListedEntry &entry : parseListing(listing.out)) {
        if (!isSafeEntryPath(entry.path) || isLinkEntry(entry))
            result.unsafeEntries << entry.path;
    }
    if (!result.unsafeEntries.isEmpty()) {
        result.status = UnpackResult::UnsafeEntries;
        result.exitCode = 0;
        return result;
    }

    const ProcessRun extraction = runProcess(archiver, arguments, timeoutMs);
    result.exitCode = extraction.exitCode;
    if (extraction.exitCode != 0) {
        result.archiverMessage = QString::fromLocal8Bit(extraction.err).trimmed();
        return result;
    }

    // Whatever the archiver made of the entries, no link may stay behind to be followed.
    const QDir base(target);
    QDirIterator it(target, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    QStringList links;
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isSymLink())
            links << path;
    }
    for (const QString &link : qAsConst(links)) {
        QFile::remove(link);
        result.removedLinks << base.relativeFilePath(link);
    }
    result.status = UnpackResult::Unpacked;
    return result;
}

} // namespace dayimport
