// The "Map" page: the day's route, linked to the location page's hours and to the chart's
// cursor; and "Tool" > "Export route..." as GPX or KML.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/route/routeexport.h"
#include "core/vdr/dayfile.h"
#include "core/vdr/recordertime.h"
#include "gui/app/viewersettings.h"
#include "gui/route/routemap.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The track's name: the day as the date list shows it, as the command line names it too.
QString routeTitle(const vdr::DayReport &day)
{
    return day.name.ok() ? vdr::dayListText(day.name.day) : day.fileName;
}

} // namespace

void MainWindow::initRouteMap()
{
    routeMap = new RouteMap(ui->verticalLayoutWidget_6);
    ui->mapVLayout->setContentsMargins(0, 0, 0, 0);
    ui->mapVLayout->addWidget(routeMap);
    // A click on the route moves the chart's cursor, which marks the fix on the map in turn.
    connect(routeMap, &RouteMap::pointClicked, this, &MainWindow::updateSpeedCursor);

    QTabWidget *tabs = ui->tabWidget;
    const QString title = tabs->tabText(tabs->indexOf(ui->tab_map));
    tabs->removeTab(tabs->indexOf(ui->tab_map));
    tabs->insertTab(tabs->indexOf(ui->tab_location) + 1, ui->tab_map, title);
}

void MainWindow::updateRouteMap()
{
    if (routeMap)
        routeMap->setRoute(route::routeFromDay(day));
}

void MainWindow::highlightRouteHour(int hourRow)
{
    // The hour list is that of the day's last location block.
    const vdr::BlockReport *stored = day.lastBlock(vdr::LocationBlock);
    if (!routeMap)
        return;
    if (!stored || !stored->ok() || hourRow < 0 || hourRow >= stored->location.hourFixes.size() ||
        stored->location.hourFixes.at(hourRow).isEmpty()) {
        routeMap->clearHighlight();
        return;
    }
    if (stored->location.hours.at(hourRow).isEmpty()) {
        routeMap->highlightInvalidTimes();
        return;
    }
    const int first = stored->location.hourFixes.at(hourRow).first();
    const QDateTime time = vdr::recorderDateTime(stored->location.fixes.at(first).time.data());
    const QDateTime hour(time.date(), QTime(time.time().hour(), 0));
    routeMap->highlightSpan(hour, hour.addSecs(3600));
}

void MainWindow::showRouteCursor(const QDateTime &t)
{
    if (routeMap)
        routeMap->setCursorTime(t);
}

void MainWindow::clearRouteCursor()
{
    if (routeMap)
        routeMap->clearCursor();
}

bool MainWindow::exportRoute(const QString &path, route::RouteFormat format, QString *error)
{
    return route::saveRoute(route::routeFromDay(day), format, routeTitle(day), path, error);
}

void MainWindow::exportRouteChosen()
{
    if (displayedFilePath.isEmpty())
        return;
    // Refused before a file is chosen: there would be nothing to write.
    const route::Route dayRoute = route::routeFromDay(day);
    if (dayRoute.isEmpty()) {
        showMessage(tr("No route to export: %1").arg(route::noPositionMessage()));
        return;
    }
    const QString gpx = tr("GPX files(*.gpx)"), kml = tr("KML files(*.kml)");
    QString filter = gpx;
    const QString name = QFileInfo(displayedFilePath).completeBaseName() + QStringLiteral(".gpx");
    const QString folder = viewersettings::lastFolder(QStringLiteral("route"));
    QString path = QFileDialog::getSaveFileName(this, tr("Export route"),
                                                folder.isEmpty() ? name : QDir(folder).filePath(name),
                                                gpx + QStringLiteral(";;") + kml, &filter);
    if (path.isEmpty())
        return;
    viewersettings::rememberFolder(QStringLiteral("route"), path);
    // The name's suffix tells the format; a name without one gets that of the chosen filter.
    const QString suffix = QFileInfo(path).suffix().toLower();
    route::RouteFormat format = filter == kml ? route::RouteFormat::Kml : route::RouteFormat::Gpx;
    if (suffix == QLatin1String("kml") || suffix == QLatin1String("gpx"))
        format = suffix == QLatin1String("kml") ? route::RouteFormat::Kml : route::RouteFormat::Gpx;
    else if (suffix.isEmpty())
        path += format == route::RouteFormat::Kml ? QStringLiteral(".kml") : QStringLiteral(".gpx");
    QString error;
    if (!exportRoute(path, format, &error))
        showMessage(tr("Can not write %1").arg(path) + QLatin1Char('\n') + error);
    else
        confirmSaved(tr("Route saved: %1").arg(QDir::toNativeSeparators(path)));
}
