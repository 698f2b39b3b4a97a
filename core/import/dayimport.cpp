#include "core/import/dayimport.h"

#include "core/vdr/dayfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <algorithm>
#include <limits>

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

} // namespace

namespace {

constexpr qint64 kUnknownSize = std::numeric_limits<qint64>::max();

qint64 addSizes(qint64 a, qint64 b)
{
    return a > kUnknownSize - b ? kUnknownSize : a + b;
}

} // namespace

ArchiveListing readArchiveListing(const QByteArray &listing)
{
    ArchiveListing result;
    QString path;
    bool link = false;
    bool folder = false;
    bool haveSize = false;
    qint64 size = 0;
    bool haveEntry = false;
    auto finish = [&] {
        if (!haveEntry)
            return;
        ++result.entryCount;
        if (link || !isSafeEntryPath(path))
            result.unsafeEntries << path;
        // A folder has nothing to unpack; a file whose size cannot be read could be anything.
        const qint64 counted = haveSize ? size : folder ? 0 : kUnknownSize;
        if (counted > kMaxDayFileSize && path.endsWith(QLatin1String(".vdr"), Qt::CaseInsensitive))
            result.oversizedDayFiles << path;
        result.totalSize = addSizes(result.totalSize, counted);
    };
    const QString dashes = QStringLiteral("----------");
    bool inEntries = false;
    for (QString line : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line == dashes) {
            inEntries = true;
            continue;
        }
        const int eq = line.indexOf(QLatin1String(" = "));
        if (!inEntries || eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 3);
        if (key == QLatin1String("Path")) {
            finish();
            path = value;
            link = folder = haveSize = false;
            size = 0;
            haveEntry = true;
        } else if (key == QLatin1String("Symbolic Link") || key == QLatin1String("Hard Link")) {
            link |= !value.isEmpty();
        } else if (key == QLatin1String("Mode")) {
            link |= value.startsWith(QLatin1Char('l')) || value.startsWith(QLatin1Char('h'));
        } else if (key == QLatin1String("Folder")) {
            folder = value == QLatin1String("+");
        } else if (key == QLatin1String("Size") && !value.isEmpty()) {
            bool ok = false;
            qint64 v = value.toLongLong(&ok);
            if (!ok || v < 0)
                v = kUnknownSize;
            // Of two sizes for one entry, the larger counts.
            size = haveSize ? std::max(size, v) : v;
            haveSize = true;
        }
    }
    finish();
    // Without that line the listing tells nothing, and the archive could hold anything.
    if (!inEntries)
        result.totalSize = kUnknownSize;
    return result;
}

qint64 archiveSizeLimit(qint64 freeBytes)
{
    return freeBytes < 0 ? kMaxArchiveSize : std::min(kMaxArchiveSize, freeBytes);
}

Refusal refusalOf(const ArchiveListing &listing, qint64 freeBytes)
{
    if (!listing.unsafeEntries.isEmpty())
        return Refusal::UnsafeEntries;
    if (!listing.oversizedDayFiles.isEmpty())
        return Refusal::OversizedDayFiles;
    if (listing.totalSize > archiveSizeLimit(freeBytes))
        return Refusal::TooLarge;
    return Refusal::None;
}

QStringList extractionArguments(const QString &archivePath, const QString &targetDir)
{
    // An absolute archive path can never be taken for a switch or a list file of the archiver.
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    const QString target = QDir::cleanPath(QFileInfo(targetDir).absoluteFilePath());
    return {QStringLiteral("x"), archive, QStringLiteral("-ttar"), QStringLiteral("-y"),
            QStringLiteral("-o") + target};
}

QString commandText(const QString &program, const QString &archivePath, const QString &targetDir)
{
    const QStringList arguments = extractionArguments(archivePath, targetDir);
    return QLatin1Char('"') + program + QStringLiteral("\" x \"") + arguments.at(1) +
           QStringLiteral("\" -ttar -y ") + arguments.at(4);
}

namespace {

// Bytes free for the user on the disk that holds dir, or its nearest existing parent;
// -1 when that cannot be told.
qint64 freeSpaceFor(const QString &dir)
{
    QString probe = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    while (!QFileInfo::exists(probe)) {
        const QString parent = QFileInfo(probe).absolutePath();
        if (parent == probe)
            return -1;
        probe = parent;
    }
    const QStorageInfo storage(probe);
    return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : -1;
}

} // namespace

UnpackResult unpackArchive(const QString &archiver, const QString &archivePath, const QString &targetDir,
                           int timeoutMs)
{
    UnpackResult result;
    const QStringList arguments = extractionArguments(archivePath, targetDir);
    const QString archive = arguments.at(1);
    const QString target = arguments.at(4).mid(2);
    result.commandText =
        commandText(archiver.isEmpty() ? QStringLiteral("7za") : archiver, archivePath, targetDir);

    if (archiver.isEmpty()) {
        result.status = UnpackResult::ArchiverMissing;
        result.exitCode = -2;
        result.archiverMessage =
            QStringLiteral("no archiver (7za, 7z or 7zz) beside the program or on the PATH");
        return result;
    }

    // The full listing, header included: every archiver version writes it the same way.
    const ProcessRun listed = runProcess(
        archiver, {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-ttar"), archive}, timeoutMs);
    if (listed.exitCode != 0) {
        result.exitCode = listed.exitCode;
        result.archiverMessage = QString::fromLocal8Bit(listed.err).trimmed();
        return result;
    }
    const ArchiveListing listing = readArchiveListing(listed.out);
    result.listedSize = listing.totalSize;
    const qint64 freeBytes = freeSpaceFor(target);
    result.sizeLimit = archiveSizeLimit(freeBytes);
    switch (refusalOf(listing, freeBytes)) {
    case Refusal::None:
        break;
    case Refusal::UnsafeEntries:
        result.status = UnpackResult::UnsafeEntries;
        result.refusedEntries = listing.unsafeEntries;
        result.exitCode = 0;
        return result;
    case Refusal::OversizedDayFiles:
        result.status = UnpackResult::OversizedDayFiles;
        result.refusedEntries = listing.oversizedDayFiles;
        result.exitCode = 0;
        return result;
    case Refusal::TooLarge:
        result.status = UnpackResult::TooLarge;
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
