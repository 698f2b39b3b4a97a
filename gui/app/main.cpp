#include "core/platform/platform.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztapplication.h"

#include <QFileInfo>
#include <QIcon>

int main(int argc, char *argv[])
{
    platform::settleLocalTimeZone();
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    ZtApplication app(argc, argv);
    // An installed copy brings its desktop entry and its icon in the icon theme.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrin-player"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tavrin-player")));

    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        // A day file given as the first argument opens as if chosen with "Open File...",
        // which is how a desktop opens a file the user double-clicks; a folder is imported as
        // one dropped on the window is.
        const QStringList args = QCoreApplication::arguments();
        if (args.size() > 1 && args.at(1).endsWith(QLatin1String(".vdr"), Qt::CaseInsensitive))
            window.openFileLater(QFileInfo(args.at(1)).absoluteFilePath());
        else if (args.size() > 1 && QFileInfo(args.at(1)).isDir())
            window.importFolder(QFileInfo(args.at(1)).absoluteFilePath());
        exitCode = app.exec();
    }
    return exitCode;
}
