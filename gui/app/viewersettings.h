#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// What the viewer keeps between runs: the recent list of the "File" menu and the last folder
// of each kind of save dialog. One INI file per user, "TavrinPlayer/tavrin-player.ini" in the
// user's configuration folder (%APPDATA% on Windows, $XDG_CONFIG_HOME or ~/.config elsewhere).
namespace viewersettings {

std::unique_ptr<QSettings> open();

// Days, folders and archives opened, the latest first, at most kRecentCount.
constexpr int kRecentCount = 10;
QStringList recentEntries();
// Puts path first (once), dropping the oldest beyond kRecentCount; returns the new list.
QStringList addRecentEntry(const QString &path);
QStringList removeRecentEntry(const QString &path);

// The folder a save dialog of this kind ("table", "pdf", "driverkey", ...) showed last;
// fallback when there is none yet or it no longer exists.
QString lastFolder(const QString &kind, const QString &fallback = QString());
// Remembers the folder of a chosen file, or the chosen folder itself.
void rememberFolder(const QString &kind, const QString &fileOrFolder);

} // namespace viewersettings
