// Times the hot paths of opening a day: from the bytes of the full sample day to filled
// pages. Run by hand: tests/bench/tavrin-bench [-median 9 | other QtTest options]
#include "core/driverkey/driverkeyfile.h"
#include "core/route/route.h"
#include "core/vdr/container.h"
#include "core/vdr/dayreport.h"
#include "core/vdr/driving.h"
#include "core/vdr/faultevent.h"
#include "core/vdr/location.h"
#include "core/vdr/technology.h"
#include "gui/app/mainwindow.h"
#include "gui/period/periodpage.h"
#include "gui/print/ztprintwidget.h"
#include "gui/route/routemap.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtTest>

#include <cmath>

class BenchOpenDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { day = vdrenc::sampleDay(QDate(2024, 1, 31)); }
    void walkContainer();
    void openFullDay();
    void switchLanguage();
    void writeDriverKey();
    void importFolderOfMonth();
    void periodPageOfMonth();
    void reportDecoders();
    void reportPages();
    void decodeDrivingData();
    void drivingPage();
    void drivingPageWithChartShown();
    void speedChartPage();
    void scaleChange_data();
    void scaleChange();
    void scroll_data();
    void scroll();
    void cursorClick();
    void cursorKey();
    void printPreview_data();
    void printPreview();
    void printPdf();
    void routeMapRepaint_data();
    void routeMapRepaint();

private:
    QByteArray day;
};

void BenchOpenDay::walkContainer()
{
    QBENCHMARK
    {
        const vdr::ContainerWalk walk = vdr::walkContainer(day);
        QVERIFY(walk.complete());
    }
}

void BenchOpenDay::openFullDay()
{
    MainWindow w;
    testsupport::ModalCloser closer;
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QBENCHMARK
    {
        QByteArray copy = day;
        w.clearAllPages();
        w.parseVdrContainer(copy, QStringLiteral("D20240131__.vdr"));
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
}

// One language switch: the catalogue swap and every text of the window applied again.
void BenchOpenDay::switchLanguage()
{
    MainWindow w;
    QCoreApplication::processEvents();
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int language = 1;
    QBENCHMARK
    {
        language = 1 - language;
        w.setLanguage(MainWindow::Language(language));
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(quiet);
    QVERIFY(w.windowTitle().endsWith(QStringLiteral(" V0.0.31")));
}

// Writing one driver key file (temporary file, then renamed over the target).
void BenchOpenDay::writeDriverKey()
{
    QTemporaryDir dir;
    QBENCHMARK
    {
        QVERIFY(driverkey::writeKeyFile(dir.path(), QStringLiteral("王小明"), QStringLiteral("A123")).ok);
    }
}

// A folder of 31 full days: copy them all into the working directory, fill the date list
// and open the first day (the deferred parse is run at once instead of after its 100 ms).
void BenchOpenDay::importFolderOfMonth()
{
    QTemporaryDir folder;
    for (int d = 1; d <= 31; ++d) {
        const QDate date(2024, 1, d);
        testsupport::writeFile(folder.path(), vdrenc::dayFileName(date), vdrenc::sampleDay(date, quint32(d)));
    }
    MainWindow w;
    testsupport::ModalCloser closer;
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QBENCHMARK
    {
        w.importFolder(folder.path());
        w.OnParseVDRFileLater();
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files).size(), 31);
}

// The "Period" page over 31 full days: each file read, decoded and digested, the month
// summarised, and the chart and both tables filled.
void BenchOpenDay::periodPageOfMonth()
{
    QTemporaryDir folder;
    for (int d = 1; d <= 31; ++d) {
        const QDate date(2024, 1, d);
        testsupport::writeFile(folder.path(), vdrenc::dayFileName(date), vdrenc::sampleDay(date, quint32(d)));
    }
    MainWindow w;
    testsupport::ModalCloser closer;
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    w.importFolder(folder.path());
    w.OnParseVDRFileLater();
    QBENCHMARK
    {
        w.rebuildPeriodPage();
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
    QCOMPARE(w.periodPageWidget()->report().filesUsed, 31);
}

// The fault and event, technology and location blocks of the sample day.
static QByteArray dayBlock(const QByteArray &day, quint8 dataId)
{
    for (const vdr::BlockInfo &block : vdr::walkContainer(day).blocks) {
        if (block.dataId == dataId)
            return day.mid(int(block.dataOffset), int(block.dataSize));
    }
    return QByteArray();
}

// The three report decoders with their HTML and the hour list, without widgets.
void BenchOpenDay::reportDecoders()
{
    const QByteArray fault = dayBlock(day, vdr::FaultEventBlock);
    const QByteArray tech = dayBlock(day, vdr::TechnologyBlock);
    const QByteArray location = dayBlock(day, vdr::LocationBlock);
    const auto *techBytes = reinterpret_cast<const uchar *>(tech.constData());
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int hours = 0;
    QBENCHMARK
    {
        const vdr::FaultEventResult f = vdr::decodeFaultEventBlock(
            reinterpret_cast<const uchar *>(fault.constData()), uint(fault.size()));
        QString html = vdr::errorTableHtml(f) + vdr::eventTableHtml(f);
        const vdr::TechnologyResult t = vdr::decodeTechnologyBlock(
            techBytes, uint(tech.size()), vdr::useNewTechnologyLayout(techBytes, uint(tech.size())));
        html += vdr::deviceTableHtml(t) + vdr::mileageTableHtml(t) + vdr::clockTableHtml(t) +
                vdr::driveThresholdTableHtml(t) + vdr::restThresholdTableHtml(t);
        const vdr::LocationResult l =
            vdr::decodeLocationBlock(reinterpret_cast<const uchar *>(location.constData()), location.size());
        const QStringList hourList = l.hours;
        hours = hourList.size();
        QVERIFY(f.ok() && t.ok() && l.ok() && !html.isEmpty());
    }
    qInstallMessageHandler(quiet);
    QVERIFY(hours > 0);
}

// The three pages of the full day filled through the main window, and the fixes of the
// busiest hour shown.
void BenchOpenDay::reportPages()
{
    MainWindow w;
    testsupport::ModalCloser closer;
    const QByteArray fault = dayBlock(day, vdr::FaultEventBlock);
    const QByteArray tech = dayBlock(day, vdr::TechnologyBlock);
    const QByteArray location = dayBlock(day, vdr::LocationBlock);
    auto *hours = w.findChild<QTableWidget *>(QStringLiteral("locationTime_table"));
    auto *fixes = w.findChild<QTableWidget *>(QStringLiteral("locationInfo_table"));
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int shown = 0;
    QBENCHMARK
    {
        w.clearAllPages();
        w.parseFaultEventData(fault.constData(), uint(fault.size()));
        w.parseTechnologyData(reinterpret_cast<const uchar *>(tech.constData()), uint(tech.size()));
        w.parseLocationData(reinterpret_cast<const uchar *>(location.constData()), location.size());
        hours->selectRow(12);
        shown = fixes->rowCount();
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
    QVERIFY(shown > 0);
}

// The driving block of the full day through the core alone: records, lines, totals, change
// list and minute table rows.
void BenchOpenDay::decodeDrivingData()
{
    const QByteArray block = dayBlock(day, vdr::DrivingBlock);
    QVERIFY(!block.isEmpty());
    QBENCHMARK
    {
        const vdr::DrivingData decoded =
            vdr::decodeDrivingBlock(reinterpret_cast<const uchar *>(block.constData()), block.size());
        QVector<vdr::DriverChange> changes;
        vdr::appendDriverChanges(changes, decoded);
        const QVector<vdr::MinuteRow> rows = vdr::minuteRows(decoded);
        QVERIFY(!rows.isEmpty());
    }
}

// The driving block into the main window: the driver lines into the chart, the driver list,
// the panel and the minute table. The driver list is emptied between rounds, as opening a
// file does.
static void benchDrivingPage(const QByteArray &day, bool chartShown)
{
    const QByteArray block = dayBlock(day, vdr::DrivingBlock);
    MainWindow w;
    testsupport::ModalCloser closer;
    auto *drivers = w.findChild<QComboBox *>(QStringLiteral("id_comboBox"));
    if (chartShown) {
        auto *tabs = w.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        tabs->setCurrentWidget(w.findChild<QWidget *>(QStringLiteral("tab_chart")));
        QCoreApplication::processEvents();
    }
    QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QBENCHMARK
    {
        drivers->clear();
        w.parseDrivingData(reinterpret_cast<const uchar *>(block.constData()), block.size());
        if (chartShown) {
            // Let the chart lay out and paint the new lines.
            QCoreApplication::processEvents();
        }
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
    QCOMPARE(drivers->count(), 3);
}

void BenchOpenDay::drivingPage()
{
    benchDrivingPage(day, false);
}

void BenchOpenDay::drivingPageWithChartShown()
{
    benchDrivingPage(day, true);
}

// A shown main window on the chart page, the sample day open.
struct ChartPage
{
    MainWindow w;
    testsupport::ModalCloser closer;
    QTabWidget *tabs = w.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QWidget *page = w.findChild<QWidget *>(QStringLiteral("tab_chart"));
    QSlider *slider = w.findChild<QSlider *>(QStringLiteral("verticalSlider"));

    explicit ChartPage(const QByteArray &day)
    {
        w.resize(1600, 900);
        w.show();
        tabs->setCurrentWidget(page);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        open(day);
    }
    void open(QByteArray day)
    {
        w.clearAllPages();
        w.parseVdrContainer(day, QStringLiteral("D20240131__.vdr"));
        QCoreApplication::processEvents();
    }
};

static QtMessageHandler silence()
{
    return qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

// From the bytes of the day to the painted chart page, at scale 1.
void BenchOpenDay::speedChartPage()
{
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        QBENCHMARK
        {
            chart.open(day);
            chart.page->grab();
        }
        QVERIFY(chart.closer.texts().isEmpty());
    }
    qInstallMessageHandler(previous);
}

void BenchOpenDay::scaleChange_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    // From the whole day to every scale and back, and each single step of the buttons.
    for (int to = 2; to <= 7; ++to) {
        QTest::addRow("1 to %d", to) << 1 << to;
        QTest::addRow("%d to 1", to) << to << 1;
    }
    for (int from = 2; from < 7; ++from) {
        QTest::addRow("%d to %d", from, from + 1) << from << from + 1;
        QTest::addRow("%d to %d", from + 1, from) << from + 1 << from;
    }
}

// Moving the scale slider, up to the painted chart page.
void BenchOpenDay::scaleChange()
{
    QFETCH(int, from);
    QFETCH(int, to);
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        chart.slider->setValue(from);
        QCoreApplication::processEvents();
        chart.page->grab();
        QBENCHMARK_ONCE
        {
            chart.slider->setValue(to);
            QCoreApplication::processEvents();
            chart.page->grab();
        }
    }
    qInstallMessageHandler(previous);
}

void BenchOpenDay::scroll_data()
{
    QTest::addColumn<int>("slider");
    QTest::newRow("10 min ticks") << 4;
    QTest::newRow("30 s ticks") << 7;
}

// One step of the chart page's scroll bar (a tenth of the visible width), up to the painted
// chart page.
void BenchOpenDay::scroll()
{
    QFETCH(int, slider);
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        chart.slider->setValue(slider);
        QCoreApplication::processEvents();
        QScrollBar *bar =
            chart.w.findChild<QScrollArea *>(QStringLiteral("driverScrollArea"))->horizontalScrollBar();
        bar->setValue(bar->maximum() / 2);
        QCoreApplication::processEvents();
        chart.page->grab();
        const int step = qMax(1, bar->pageStep() / 10);
        QBENCHMARK
        {
            bar->setValue(bar->value() + step);
            QCoreApplication::processEvents();
            chart.page->grab();
        }
    }
    qInstallMessageHandler(previous);
}

// One click on the speed chart, up to the filled panel and the placed time line.
void BenchOpenDay::cursorClick()
{
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        auto *view = chart.w.findChild<QWidget *>(QStringLiteral("speedWidget"))->findChild<QChartView *>();
        QVERIFY(view);
        const QPoint at(view->width() / 2, view->height() / 2);
        QBENCHMARK
        {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        }
    }
    qInstallMessageHandler(previous);
}

// One press of the Right key on the chart page at the 30 s scale (the cursor runs off the
// screen now and then and brings the charts with it), up to the painted page.
void BenchOpenDay::cursorKey()
{
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        chart.slider->setValue(7);
        QVERIFY(QTest::qWaitForWindowActive(&chart.w));
        chart.w.updateSpeedCursor(QDateTime(QDate(2024, 1, 31), QTime(10, 0)));
        QBENCHMARK
        {
            QTest::keyClick(&chart.w, Qt::Key_Right, Qt::ShiftModifier);
            QCoreApplication::processEvents();
            chart.page->grab();
        }
    }
    qInstallMessageHandler(previous);
}

void BenchOpenDay::printPreview_data()
{
    QTest::addColumn<int>("slider");
    QTest::newRow("whole day") << 1;
    QTest::newRow("30 s ticks") << 7;
}

// "Print" on the full day: the preview built, shown and painted, then closed.
void BenchOpenDay::printPreview()
{
    QFETCH(int, slider);
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        chart.slider->setValue(slider);
        QCoreApplication::processEvents();
        QBENCHMARK
        {
            ZtPrintWidget *preview = chart.w.openPrintPreview();
            QVERIFY(QTest::qWaitForWindowExposed(preview));
            preview->grab();
            delete preview;
        }
    }
    qInstallMessageHandler(previous);
}

// The preview of the full day written as a PDF page.
void BenchOpenDay::printPdf()
{
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        ZtPrintWidget *preview = chart.w.openPrintPreview();
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QTemporaryDir tmp;
        QBENCHMARK
        {
            QVERIFY(preview->savePdf(tmp.filePath(QStringLiteral("report.pdf"))));
        }
        delete preview;
    }
    qInstallMessageHandler(previous);
}

// A route of a fix every second for a whole day, winding about at changing speeds, with a
// break in the line every four hours.
static route::Route dayOfSecondFixes()
{
    route::Route r;
    double lat = 25.0, lon = 121.5, heading = 0;
    // UTC times: a million local-time conversions would time the C library, not the map.
    const QDateTime midnight(QDate(2024, 1, 31), QTime(0, 0), Qt::UTC);
    for (int s = 0; s < 86400; ++s) {
        if (s % 14400 == 0)
            r.runs.append(route::RouteRun());
        route::RoutePoint p;
        p.speed = qMax(0, int(60 + 55 * std::sin(s / 700.0)));
        heading += 0.004 * std::sin(s / 131.0);
        const double km = p.speed / 3600.0;
        lat += km * std::cos(heading) / 111.2;
        lon += km * std::sin(heading) / (111.2 * std::cos(lat * M_PI / 180));
        p.latitude = lat;
        p.longitude = lon;
        p.time = midnight.addSecs(s);
        r.runs.last().append(p);
    }
    return r;
}

void BenchOpenDay::routeMapRepaint_data()
{
    QTest::addColumn<bool>("sampleDay");
    QTest::addColumn<bool>("newScale");
    for (const bool sample : {true, false}) {
        const char *name = sample ? "sample day" : "86400 fixes";
        QTest::addRow("%s, drawn at a new scale", name) << sample << true;
        QTest::addRow("%s, repainted", name) << sample << false;
    }
}

// The map page painting the whole day into an image of 1200 x 800: after a zoom step (the
// line is projected to the new scale and thinned anew), or repainted as it is (a hover, the
// cursor moving, a pan).
void BenchOpenDay::routeMapRepaint()
{
    QFETCH(bool, sampleDay);
    QFETCH(bool, newScale);
    const route::Route r =
        sampleDay ? route::routeFromDay(vdr::analyseDayFile(QStringLiteral("D20240131__.vdr"), day))
                  : dayOfSecondFixes();
    RouteMap map;
    map.resize(1200, 800);
    map.setRoute(r);
    map.setCursorTime(r.first().time.addSecs(6 * 3600));
    QImage image(map.size(), QImage::Format_ARGB32_Premultiplied);
    map.render(&image);
    const QPointF centre(600, 400);
    bool in = true;
    QBENCHMARK
    {
        if (newScale)
            map.zoomAt(centre, in ? 1.01 : 1 / 1.01);
        in = !in;
        map.render(&image);
    }
    QVERIFY(map.pointCount() > 2000);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchOpenDay bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_openday.moc"
