#include "core/platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

const char *const kWorkingDirName = "ZtTemp";
const char *const kArchiveDirName = "ZtTar";

QString localDataDirectory(const char *name)
{
#ifdef Q_OS_WIN
    return windowsLocalDataPath(userName(), QLatin1String(name));
#else
    // Same folder names, under the per-user local data location (~/.local/share).
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base) + QLatin1Char('/') + QLatin1String(name);
#endif
}

} // namespace

QString userName()
{
#ifdef Q_OS_WIN
    // Wide text: a name outside the ANSI code page (a Chinese login name on a Western
    // system, say) comes through whole.
    wchar_t buffer[257] = {};
    DWORD size = DWORD(sizeof(buffer) / sizeof(buffer[0]));
    if (!GetUserNameW(buffer, &size))
        return QString();
    return QString::fromWCharArray(buffer);
#else
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
#endif
}

QString windowsLocalDataPath(const QString &userName, const QString &directoryName)
{
    return QStringLiteral("C:/Users/") + userName + QStringLiteral("/AppData/Local/") + directoryName;
}

QString workingDirectoryPath()
{
    return localDataDirectory(kWorkingDirName);
}

QString archiveDirectoryPath()
{
    return localDataDirectory(kArchiveDirName);
}

QString archiverBesideProgram()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/7za.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/7za");
#endif
}

QString archiverProgram()
{
    const QString besideExe = archiverBesideProgram();
    if (QFileInfo(besideExe).isExecutable())
        return besideExe;
    for (const char *name : {"7za", "7z", "7zz"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

bool removeWorkingDirectory(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    const QString last = QFileInfo(clean).fileName();
    if (last != QLatin1String(kWorkingDirName) && last != QLatin1String(kArchiveDirName))
        return false;
    QFileInfo info(clean);
    if (!info.exists() && !info.isSymLink())
        return true;
    // A link named like a working directory is removed itself, never followed.
    if (info.isSymLink() || !info.isDir())
        return QFile::remove(clean);
    return QDir(clean).removeRecursively();
}

void settleLocalTimeZone()
{
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
#endif
}

} // namespace platform
