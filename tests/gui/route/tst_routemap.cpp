// The "Map" page on the sample day, linked to the location page and the chart's cursor, and
// "Tool" > "Export route..." read back by gpsbabel.
#include "core/route/routeexport.h"
#include "gui/app/mainwindow.h"
#include "gui/route/routemap.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <time.h>

using testsupport::child;

class TestRouteMap : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    QVector<route::RoutePoint> points; // the model's route, runs one after the other
    RouteMap *map = nullptr;

    QString cursorText() const
    {
        return child<QLabel>(*w, "spd_date_value")->text() + ' ' +
               child<QLabel>(*w, "spd_time_value")->text();
    }

private slots:
    void initTestCase()
    {
        // Eight hours ahead of UTC all year, for the window and for gpsbabel.
        qputenv("TZ", "XST-8");
        tzset();
        w = std::make_unique<MainWindow>();
        w->resize(1400, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(!w->exportRouteAction()->isEnabled());
        const QDate day(2024, 1, 31);
        w->readVdrFile(testsupport::writeFile(dir.path(), vdrenc::dayFileName(day), vdrenc::sampleDay(day)));
        for (const route::RouteRun &run : route::routeFromDay(w->dayModel()).runs)
            points += run;
        map = w->routeMapView();
        QVERIFY(map && points.size() > 1000);
        QCOMPARE(map->pointCount(), points.size());
        auto *tabs = child<QTabWidget>(*w, "tabWidget");
        tabs->setCurrentWidget(child<QWidget>(*w, "tab_map"));
        QCoreApplication::processEvents();
    }

    void pageAfterLocation()
    {
        auto *tabs = child<QTabWidget>(*w, "tabWidget");
        const int page = tabs->indexOf(child<QWidget>(*w, "tab_map"));
        QCOMPARE(page, tabs->indexOf(child<QWidget>(*w, "tab_location")) + 1);
        QCOMPARE(tabs->tabText(page), QStringLiteral("地圖"));
        w->setLanguage(MainWindow::Language::English);
        QCoreApplication::processEvents();
        QCOMPARE(tabs->tabText(page), QStringLiteral("Map"));
        QCOMPARE(w->exportRouteAction()->text(), QStringLiteral("Export route…"));
        QVERIFY(w->exportRouteAction()->isEnabled());
    }

    // A click on a fix that has no other within 10 m: the chart's cursor goes to its time and
    // the map marks it.
    void clickSetsCursor()
    {
        const auto isolated = [this](int k) {
            return std::all_of(points.begin(), points.end(), [&](const route::RoutePoint &p) {
                const double dy = (p.latitude - points[k].latitude) * 111.2;
                const double dx =
                    (p.longitude - points[k].longitude) * 111.2 * std::cos(p.latitude * M_PI / 180);
                return &p == &points[k] || std::hypot(dx, dy) > 0.01;
            });
        };
        int k = points.size() / 2;
        while (k < points.size() && !isolated(k))
            ++k;
        QVERIFY(k < points.size());
        map->fitAll();
        map->zoomAt(map->pointPosition(k), 1000);
        QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, map->pointPosition(k).toPoint());
        QCOMPARE(cursorText(), points[k].time.toString("yyyy/MM/dd hh:mm:ss") + ".0");
        QCOMPARE(map->cursorPoint(), k);
        QVERIFY(map->pointText(k).contains(QString::number(points[k].latitude, 'f', 6)));
    }

    void chartCursorMovesMarker_data()
    {
        QTest::addColumn<int>("offset");   // seconds after the fix
        QTest::addColumn<int>("expected"); // fixes after the fix
        QTest::newRow("at a fix") << 0 << 0;
        QTest::newRow("a second before the next") << -1 << 1;
    }
    void chartCursorMovesMarker()
    {
        QFETCH(int, offset);
        QFETCH(int, expected);
        const int k = points.size() / 3;
        const QDateTime t = points[offset < 0 ? k + 1 : k].time.addSecs(offset);
        w->updateSpeedCursor(t);
        QCOMPARE(map->cursorPoint(), k + expected);
        w->clearAllPages();
        QCOMPARE(map->pointCount(), 0);
        QCOMPARE(map->cursorPoint(), -1);
        w->readVdrFile(dir.filePath(vdrenc::dayFileName(QDate(2024, 1, 31))));
    }

    // The highlighted fixes of an hour are its positioned fixes as the hour list groups them.
    void hourHighlights()
    {
        auto *hours = child<QTableWidget>(*w, "locationTime_table");
        const vdr::LocationResult &location = w->dayModel().lastBlock(vdr::LocationBlock)->location;
        for (int row : {0, 9, hours->rowCount() - 1}) {
            hours->selectRow(row);
            int positioned = 0;
            for (int fix : location.hourFixes.at(row))
                positioned += location.fixes.at(fix).status != 0 ? 1 : 0;
            QCOMPARE(map->highlightedCount(), positioned);
        }
    }

    void exportRoute_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("GPX") << "gpx";
        QTest::newRow("KML") << "kml";
    }
    void exportRoute()
    {
        QFETCH(QString, format);
        const QString path = dir.filePath("day." + format);
        QString error;
        QVERIFY(w->exportRoute(path, format == "kml" ? route::RouteFormat::Kml : route::RouteFormat::Gpx,
                               &error));
        QProcess gpsbabel;
        gpsbabel.start("gpsbabel", {"-t", "-i", format, "-f", path, "-o", "unicsv,utc=0", "-F", "-"});
        QVERIFY2(gpsbabel.waitForFinished(60000) && gpsbabel.exitCode() == 0,
                 gpsbabel.readAllStandardError());
        const QStringList lines = QString(gpsbabel.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size() - 1, points.size());
        const QStringList header = lines.first().trimmed().split(',');
        for (const int row : {1, int(lines.size()) - 1}) {
            const QStringList cells = lines.at(row).trimmed().split(',');
            const route::RoutePoint &p = row == 1 ? points.first() : points.last();
            QVERIFY(qAbs(cells.value(header.indexOf("Latitude")).toDouble() - p.latitude) < 1e-6);
            QVERIFY(qAbs(cells.value(header.indexOf("Longitude")).toDouble() - p.longitude) < 1e-6);
            if (format == "gpx")
                QCOMPARE(cells.value(header.indexOf("Time")), p.time.toUTC().toString("hh:mm:ss"));
        }
    }

    // A day without a positioned fix is refused before a file is asked for; no day, no entry.
    void exportRefused()
    {
        QVector<vdrenc::LocationRecord> fixes(3);
        for (int i = 0; i < fixes.size(); ++i) {
            fixes[i].time = vdrenc::stamp(2024, 2, 1, 8, 0, i);
            fixes[i].status = 0;
        }
        const QString path = testsupport::writeFile(
            dir.path(), vdrenc::dayFileName(QDate(2024, 2, 1)),
            vdrenc::container({{vdrenc::LocationId, "DT_LOCATE_DATA", vdrenc::locationBlock(fixes)}}));
        w->readVdrFile(path);
        QVERIFY(w->exportRouteAction()->isEnabled());
        testsupport::ModalCloser closer;
        w->exportRouteAction()->trigger();
        QCOMPARE(closer.texts().size(), 1);
        QVERIFY(closer.texts().first().contains(route::noPositionMessage()));
        w->clearAllPages();
        QVERIFY(!w->exportRouteAction()->isEnabled());
    }
};

QTEST_MAIN(TestRouteMap)
#include "tst_routemap.moc"
