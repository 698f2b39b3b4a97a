#include "app/platform.h"

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
    return QString::asprintf("C:/Users/%s/AppData/Local/%s", userName().toLocal8Bit().constData(), name);
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
    char buffer[257] = {};
    DWORD size = sizeof(buffer);
    if (!GetUserNameA(buffer, &size))
        return QString();
    return QString::fromLocal8Bit(buffer);
#else
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
#endif
}

QString workingDirectoryPath()
{
    return localDataDirectory(kWorkingDirName);
}

QString archiveDirectoryPath()
{
    return localDataDirectory(kArchiveDirName);
}

QString archiverProgram()
{
#ifdef Q_OS_WIN
    const QString besideExe = QCoreApplication::applicationDirPath() + QStringLiteral("/7za.exe");
#else
    const QString besideExe = QCoreApplication::applicationDirPath() + QStringLiteral("/7za");
#endif
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

} // namespace platform
