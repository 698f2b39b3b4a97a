// The speed chart on the chart page: the speed line, the cursor, the scale change of both
// charts, the fitting of the time axes, and the speed tables and dump that come with it.
#include "core/vdr/container.h"
#include "core/vdr/speed.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/charts/speedplot.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QGraphicsRectItem>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtTest>

#include <cmath>

QT_CHARTS_USE_NAMESPACE
using testsupport::child;

namespace {

const QDate kDay(2024, 1, 31);

QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(kDay, QTime(h, m, s, ms));
}

vdrenc::SpeedRecord record(const QDateTime &start, int speed, quint32 mileage = 5000)
{
    vdrenc::SpeedRecord r;
    r.start = vdrenc::stamp(start);
    for (int j = 0; j < 120; ++j) {
        r.speed[size_t(j)] = quint8(speed + j % 2);
        r.mileage[size_t(j)] = mileage + quint32(j);
    }
    return r;
}

QByteArray dayFile(const QByteArray &speedBlock)
{
    return vdrenc::container({{vdrenc::SpeedId, "DT_SPD_DATA", speedBlock}});
}

QString text(MainWindow &w, const char *label)
{
    return child<QLabel>(w, label)->text();
}
QChartView *speedView(MainWindow &w)
{
    return child<QWidget>(w, "speedWidget")->findChild<QChartView *>();
}
QChartView *driverView(MainWindow &w)
{
    return child<QWidget>(w, "driverWidget")->findChild<QChartView *>();
}
QDateTimeAxis *timeAxis(QChartView *view)
{
    return qobject_cast<QDateTimeAxis *>(view->chart()->axes(Qt::Horizontal).value(0));
}

} // namespace

class TestSpeedChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cursorPanel();
    void driverScrollBarScrollsSpeedChart();
    void scaleChange_data();
    void scaleChange();
    void fitTimeRange_data();
    void fitTimeRange();
    void zoomKeepsPlace_data();
    void zoomKeepsPlace();
    void plotsAligned_data();
    void plotsAligned();
    void keys_data();
    void keys();
    void wheel();
    void faultsShadedAndClippedMarked();

private:
    // A shown main window on the chart page with the file opened.
    void open(MainWindow &w, const QByteArray &file, const QString &name = vdrenc::dayFileName(kDay));
    QTemporaryDir tmp;
    QVector<vdrenc::SpeedRecord> cursorRecords;
};

void TestSpeedChart::initTestCase()
{
    vdrenc::SpeedRecord a = record(at(10, 15, 0), 40, 1000);
    a.speed[1] = 0xFF;
    a.mileage[1] = vdrenc::NoMileage;
    vdrenc::SpeedRecord b = record(at(10, 16, 0), 70, 2000);
    vdrenc::SpeedRecord c = record(at(10, 20, 30), 90, 3000);
    cursorRecords = {a, b, c};
}

void TestSpeedChart::open(MainWindow &w, const QByteArray &file, const QString &name)
{
    const QString path = testsupport::writeFile(tmp.path(), name, file);
    w.resize(1600, 900);
    w.show();
    child<QTabWidget>(w, "tabWidget")->setCurrentWidget(child<QWidget>(w, "tab_chart"));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.readVdrFile(path);
    QCoreApplication::processEvents();
}

// A click on the chart puts the cursor there and the time line on its instant; a point of the
// chart fills the panel; a time off the axis changes nothing, the end of the axis is on it.
void TestSpeedChart::cursorPanel()
{
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    QChartView *view = speedView(w);
    const QRectF plot = view->chart()->plotArea();
    QVERIFY(plot.width() > 500);
    // a click just below the line, at 10:15:30 (the line is hit-tested by the series)
    const double x = plot.left() + plot.width() * (10 * 3600 + 15 * 60 + 30) / 86400.0;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(int(x), int(plot.top() + 20)));
    QDateTime shown = QDateTime::fromString(text(w, "spd_date_value") + QLatin1Char(' ') +
                                                text(w, "spd_time_value").left(8),
                                            QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    if (text(w, "spd_time_value").endsWith(QStringLiteral(".5")))
        shown = shown.addMSecs(500);
    QVERIFY2(qAbs(shown.secsTo(at(10, 15, 30))) <= 2 * 86400 / plot.width(), qPrintable(shown.toString()));
    const QPointF position = view->chart()->mapToPosition(QPointF(double(shown.toMSecsSinceEpoch()), 0));
    QCOMPARE(child<QLabel>(w, "speedChartTimeLine")->x(),
             view->mapTo(child<QWidget>(w, "centralwidget"), QPoint(int(std::lround(position.x())), 0)).x());

    const auto panel = [&] {
        return QStringList{text(w, "spd_date_value"), text(w, "spd_time_value"), text(w, "spd_speed_value"),
                           text(w, "spd_mileage_value")};
    };
    w.tooltip(QPointF(double(at(10, 16, 0).toMSecsSinceEpoch()), 12.0)); // the next record's start
    QCOMPARE(panel(), QStringList({"2024/01/31", "10:16:00.0", "70 km/h", "200.0 km"}));
    const int lineX = child<QLabel>(w, "speedChartTimeLine")->x();
    for (const QDateTime &t : {at(0, 0, 0).addMSecs(-1), at(0, 0, 0).addDays(1).addMSecs(1)}) {
        w.updateSpeedCursor(t);
        QCOMPARE(panel(), QStringList({"2024/01/31", "10:16:00.0", "70 km/h", "200.0 km"}));
        QCOMPARE(child<QLabel>(w, "speedChartTimeLine")->x(), lineX);
    }
    w.updateSpeedCursor(at(0, 0, 0).addDays(1));
    QCOMPARE(text(w, "spd_date_value"), QStringLiteral("2024/02/01"));
}

void TestSpeedChart::driverScrollBarScrollsSpeedChart()
{
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    w.updateSpeedCursor(at(1, 0, 0)); // well inside the part still shown after the scroll
    child<QSlider>(w, "verticalSlider")->setValue(3);
    QCoreApplication::processEvents();
    QScrollBar *driverBar = child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar();
    QScrollBar *speedBar = child<QScrollArea>(w, "speedScrollArea")->horizontalScrollBar();
    QVERIFY(driverBar->maximum() > 300);
    QLabel *line = child<QLabel>(w, "speedChartTimeLine");
    driverBar->setValue(0);
    const int before = line->x();
    driverBar->setSliderDown(true);
    driverBar->setSliderPosition(120);
    driverBar->setSliderDown(false);
    QCoreApplication::processEvents();
    QCOMPARE(speedBar->value(), 120);
    QCOMPARE(line->x(), before - 120);
    // a click on the bar's track or the wheel moves it without dragging: the line follows too,
    // leaves with its instant and comes back with it
    driverBar->setValue(60);
    QCOMPARE(line->x(), before - 60);
    driverBar->setValue(driverBar->maximum());
    QVERIFY(line->isHidden());
    driverBar->setValue(0);
    QVERIFY(line->isVisible());
    QCOMPARE(line->x(), before);
}

void TestSpeedChart::scaleChange_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("factor");
    QTest::newRow("1") << 1 << 25 << 1;
    QTest::newRow("4") << 4 << 145 << 6;
    QTest::newRow("7") << 7 << 2881 << 120;
}

// Both charts take the ticks of the scale over the day and their widgets become as many
// screens wide; each view draws the part on screen, where the whole chart has it: an instant
// in the middle of the screen is drawn there, in both charts.
void TestSpeedChart::scaleChange()
{
    QFETCH(int, value);
    QFETCH(int, ticks);
    QFETCH(int, factor);
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    auto *slider = child<QSlider>(w, "verticalSlider");
    slider->setValue(value == 1 ? 2 : 1);
    slider->setValue(value);
    QVERIFY(w.waitingOverlay() && w.waitingOverlay()->isHidden());
    QScrollBar *bar = child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar();
    bar->setValue(bar->maximum() / 3);
    QCoreApplication::processEvents();

    for (const char *name : {"speed", "driver"}) {
        auto *area = child<QScrollArea>(w, qPrintable(QStringLiteral("%1ScrollArea").arg(name)));
        auto *plot = area->widget()->findChild<TimeChart *>();
        QSignalSpy laidOut(plot, &TimeChart::laidOut);
        QTest::qWait(20);
        QCOMPARE(laidOut.count(), 0); // settled
        QCOMPARE(plot->tickCount(), ticks);
        QCOMPARE(area->widget()->minimumWidth(), area->width() * factor);
        QCOMPARE(area->horizontalScrollBar()->value(), bar->value());
        const int visible = area->viewport()->width();
        const int middle = bar->value() + visible / 2;
        const qint64 t = qint64(plot->scale().instantAt(middle));
        const QPoint drawn =
            plot->view()->mapTo(area->viewport(), QPoint(int(std::lround(plot->chartXOf(t))), 0));
        QVERIFY2(qAbs(drawn.x() - visible / 2) <= 1, name);
        QVERIFY(plot->view()->width() < visible + 300);
        QVERIFY(plot->axisX()->tickCount() < 40);
    }
}

void TestSpeedChart::fitTimeRange_data()
{
    QTest::addColumn<QDateTime>("firstStart");
    QTest::addColumn<QDateTime>("min");
    QTest::addColumn<QDateTime>("max");
    QTest::newRow("inside the day") << at(0, 0, 0) << at(0, 0, 0) << at(0, 0, 0).addDays(1);
    QTest::newRow("the last minute") << at(23, 59, 0) << at(0, 0, 0) << at(0, 0, 0).addDays(1);
    // the last sample is 00:01:59.5 on the day
    QTest::newRow("from the day before")
        << at(23, 59, 0).addDays(-1) << at(0, 1, 59, 500).addDays(-1) << at(0, 1, 59, 500);
}

void TestSpeedChart::fitTimeRange()
{
    QFETCH(QDateTime, firstStart);
    QFETCH(QDateTime, min);
    QFETCH(QDateTime, max);
    QVector<vdrenc::SpeedRecord> records = {record(firstStart, 30)};
    if (firstStart.date() != kDay)
        records.append(record(at(0, 1, 0), 30));
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(records)));
    QCOMPARE(timeAxis(speedView(w))->min(), min);
    QCOMPARE(timeAxis(speedView(w))->max(), max);
    // the driver axis is moved with the speed axis when the data leaves the day (the driving
    // block, absent here, puts it on the day)
    if (firstStart.date() != kDay) {
        QCOMPARE(timeAxis(driverView(w))->min(), min);
        QCOMPARE(timeAxis(driverView(w))->max(), max);
    }
}

static SpeedPlot *plotOf(MainWindow &w)
{
    return child<QWidget>(w, "speedWidget")->findChild<SpeedPlot *>();
}

// Column of an instant in the speed chart's area.
static double columnOf(MainWindow &w, qint64 t)
{
    return plotOf(w)->scale().xOf(double(t)) -
           child<QScrollArea>(w, "speedScrollArea")->horizontalScrollBar()->value();
}

void TestSpeedChart::zoomKeepsPlace_data()
{
    QTest::addColumn<bool>("cursor");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("cursor, 1 to 4") << true << 1 << 4;
    QTest::newRow("cursor, 4 to 7") << true << 4 << 7;
    QTest::newRow("middle, 2 to 5") << false << 2 << 5;
    QTest::newRow("middle, 6 to 3") << false << 6 << 3;
}

// A scale change keeps the cursor's instant where it is on screen, else the middle's instant.
void TestSpeedChart::zoomKeepsPlace()
{
    QFETCH(bool, cursor);
    QFETCH(int, from);
    QFETCH(int, to);
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    auto *slider = child<QSlider>(w, "verticalSlider");
    slider->setValue(from);
    QScrollBar *bar = child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar();
    const int visible = child<QScrollArea>(w, "speedScrollArea")->viewport()->width();
    qint64 kept = at(10, 15, 30).toMSecsSinceEpoch();
    if (cursor)
        w.updateSpeedCursor(at(10, 15, 30));
    bar->setValue(int(columnOf(w, kept)) + bar->value() - visible / 3);
    if (!cursor) // the instant in the middle
        kept = qint64(plotOf(w)->scale().instantAt(bar->value() + visible / 2));
    const double before = columnOf(w, kept);
    slider->setValue(to);
    QCoreApplication::processEvents();
    QVERIFY(qAbs(columnOf(w, kept) - before) <= 1);
}

void TestSpeedChart::plotsAligned_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QSize>("size");
    for (const QSize &size : {QSize(1600, 900), QSize(1100, 700)})
        for (int value : {1, 4, 7})
            QTest::addRow("%d, %d px", value, size.width()) << value << size;
}

// Both plots begin and end in the same pixel column of the window, wherever the chart is scrolled.
void TestSpeedChart::plotsAligned()
{
    QFETCH(int, value);
    QFETCH(QSize, size);
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    w.resize(size);
    QCoreApplication::processEvents();
    child<QSlider>(w, "verticalSlider")->setValue(value);
    QScrollBar *bar = child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QCoreApplication::processEvents();
    const auto plotRect = [&](QChartView *view) {
        return view->chart()->plotArea().translated(
            view->mapTo(child<QWidget>(w, "centralwidget"), QPoint()));
    };
    const QRectF speed = plotRect(speedView(w));
    const QRectF driver = plotRect(driverView(w));
    QCOMPARE(speed.left(), driver.left());
    QCOMPARE(speed.right(), driver.right());
    // a click on the driver chart sets the cursor, whose line runs from the speed plot's top
    // to the driver plot's bottom
    const QPoint click =
        driverView(w)->mapFrom(w.centralWidget(), QPoint(int(driver.left()) + 300, int(driver.center().y())));
    QTest::mouseClick(driverView(w)->viewport(), Qt::LeftButton, Qt::NoModifier, click);
    const QRect line = child<QLabel>(w, "speedChartTimeLine")->geometry();
    QVERIFY(qAbs(line.x() - (int(driver.left()) + 300)) <= 1);
    QVERIFY(qAbs(line.top() - speed.top()) <= 1 && qAbs(line.bottom() - driver.bottom()) <= 2);
}

void TestSpeedChart::keys_data()
{
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QDateTime>("to");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    // clang-format off
    QTest::newRow("right") << at(10, 15, 30) << int(Qt::Key_Right) << none << at(10, 15, 30, 500);
    QTest::newRow("left") << at(10, 15, 30) << int(Qt::Key_Left) << none << at(10, 15, 29, 500);
    QTest::newRow("left off the grid") << at(10, 15, 30, 200) << int(Qt::Key_Left) << none << at(10, 15, 30);
    QTest::newRow("shift right") << at(10, 15, 30) << int(Qt::Key_Right) << shift << at(10, 16, 30);
    QTest::newRow("shift left, clamped") << at(10, 15, 30) << int(Qt::Key_Left) << shift << at(10, 15, 0);
    QTest::newRow("left at the first") << at(10, 15, 0) << int(Qt::Key_Left) << none << at(10, 15, 0);
    QTest::newRow("right at the last") << at(10, 21, 29, 500) << int(Qt::Key_Right) << none << at(10, 21, 29, 500);
    QTest::newRow("home") << at(10, 17, 0) << int(Qt::Key_Home) << none << at(10, 15, 0);
    QTest::newRow("end") << at(10, 17, 0) << int(Qt::Key_End) << none << at(10, 21, 29, 500);
    // clang-format on
}

// The keys move the cursor on the chart page only, and bring it into view.
void TestSpeedChart::keys()
{
    QFETCH(QDateTime, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QDateTime, to);
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    QVERIFY(QTest::qWaitForWindowActive(&w));
    child<QSlider>(w, "verticalSlider")->setValue(7);
    w.updateSpeedCursor(from);
    auto *tabs = child<QTabWidget>(w, "tabWidget");
    tabs->setCurrentIndex(0);
    QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(child<QLabel>(w, "spd_time_value")->text(), vdr::cursorTimeText(from));
    tabs->setCurrentWidget(child<QWidget>(w, "tab_chart"));
    child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar()->setValue(0);
    QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(child<QLabel>(w, "spd_time_value")->text(), vdr::cursorTimeText(to));
    const double x = columnOf(w, to.toMSecsSinceEpoch());
    QVERIFY(x >= 0 && x < child<QScrollArea>(w, "speedScrollArea")->viewport()->width());
}

// Ctrl+wheel zooms a step per notch around the pointer; the wheel alone scrolls in time.
void TestSpeedChart::wheel()
{
    MainWindow w;
    open(w, dayFile(vdrenc::speedBlock(cursorRecords)));
    auto *slider = child<QSlider>(w, "verticalSlider");
    slider->setValue(3);
    QScrollBar *bar = child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar();
    bar->setValue(bar->maximum() / 2);
    for (QChartView *view : {speedView(w), driverView(w)}) {
        const int column = 300; // in the scroll area's viewport
        const QPoint pointer =
            view->viewport()->mapFrom(view->parentWidget()->parentWidget(), QPoint(column, 100));
        const auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(pointer, view->viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, delta),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &event);
        };
        const qint64 under = qint64(plotOf(w)->scale().instantAt(bar->value() + column));
        turn(60, Qt::ControlModifier); // half a notch: nothing yet
        turn(60, Qt::ControlModifier);
        QCOMPARE(slider->value(), 4);
        QVERIFY(qAbs(columnOf(w, under) - column) <= 1);
        const int scroll = bar->value();
        turn(-120, Qt::NoModifier);
        QVERIFY(bar->value() > scroll);
        slider->setValue(3);
    }
}

// Each fault and event period is shaded over its span in the colour of its type, with one
// legend entry per type; a sample above the axis gets a mark at the top, one at 240 none.
void TestSpeedChart::faultsShadedAndClippedMarked()
{
    vdrenc::SpeedRecord fast = record(at(10, 15, 0), 40);
    fast.speed[61] = 250;
    fast.speed[62] = 240;
    const QByteArray faults =
        vdrenc::faultEventBlock({{'5', vdrenc::stamp(at(8, 0, 0)), vdrenc::stamp(at(8, 30, 0))},
                                 {'5', vdrenc::stamp(at(9, 0, 0)), vdrenc::stamp(at(9, 0, 0))}},
                                {{'2', vdrenc::stamp(at(12, 0, 0)), vdrenc::zeroStamp(), 1}});
    MainWindow w;
    w.setLanguage(MainWindow::Language::English);
    open(w, vdrenc::container({{vdrenc::FaultEventId, "DT_ERR_EVENT_DATA", faults},
                               {vdrenc::SpeedId, "DT_SPD_DATA", vdrenc::speedBlock({fast})}}));
    auto *plot = plotOf(w);
    QCOMPARE(plot->legendTexts(), (QStringList{QStringLiteral("GPS Fail"), QStringLiteral("Driving Over")}));
    const QVector<QGraphicsRectItem *> shades = plot->shades();
    QCOMPARE(shades.size(), 3);
    const QVector<QPair<QDateTime, QDateTime>> spans = {
        {at(8, 0, 0), at(8, 30, 0)}, {at(9, 0, 0), at(9, 0, 0)}, {at(12, 0, 0), at(0, 0, 0).addDays(1)}};
    for (int i = 0; i < 3; ++i) {
        const double x0 = plot->chartXOf(spans[i].first.toMSecsSinceEpoch());
        const double x1 = plot->chartXOf(spans[i].second.toMSecsSinceEpoch());
        QVERIFY(shades[i]->isVisible());
        QCOMPARE(shades[i]->rect().left(), x0);
        QCOMPARE(shades[i]->rect().width(), qMax(1.0, x1 - x0));
        QCOMPARE(shades[i]->brush().color(), SpeedPlot::shadeColour(i < 2 ? 5 : 2));
    }
    QVERIFY(shades[2]->toolTip().startsWith(QStringLiteral("Event: Driving Over")));
    QCOMPARE(plot->clippedMarkColumns(),
             QVector<int>{int(std::lround(plot->chartXOf(at(10, 15, 30, 500).toMSecsSinceEpoch())))});
    w.clearAllPages();
    QVERIFY(plot->shades().isEmpty() && plot->clippedMarkColumns().isEmpty());
}

QTEST_MAIN(TestSpeedChart)
#include "tst_speedchart.moc"
