#include "gui/app/viewersettings.h"

#include <QFileInfo>
#include <QSettings>

namespace viewersettings {

namespace {
const QString kRecentKey = QStringLiteral("recent/entries");
QString folderKey(const QString &kind)
{
    return QStringLiteral("folders/") + kind;
}
void storeRecent(const QStringList &entries)
{
    open()->setValue(kRecentKey, entries);
}
} // namespace

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("TavrinPlayer"), QStringLiteral("tavrin-player"));
}

QStringList recentEntries()
{
    return open()->value(kRecentKey).toStringList().mid(0, kRecentCount);
}

QStringList addRecentEntry(const QString &path)
{
    const QString entry = QFileInfo(path).absoluteFilePath();
    QStringList entries = recentEntries();
    entries.removeAll(entry);
    entries.prepend(entry);
    entries = entries.mid(0, kRecentCount);
    storeRecent(entries);
    return entries;
}

QStringList removeRecentEntry(const QString &path)
{
    QStringList entries = recentEntries();
    entries.removeAll(path);
    storeRecent(entries);
    return entries;
}

QString lastFolder(const QString &kind, const QString &fallback)
{
    const QString folder = open()->value(folderKey(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void rememberFolder(const QString &kind, const QString &fileOrFolder)
{
    if (fileOrFolder.isEmpty())
        return;
    const QFileInfo info(fileOrFolder);
    open()->setValue(folderKey(kind), info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

} // namespace viewersettings
