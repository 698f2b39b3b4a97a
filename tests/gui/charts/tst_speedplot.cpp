// The speed plot at its seams: the scale table, instants and columns of a chart as wide as the
// scale makes it, the part of it a view draws, the line as drawn into pixel columns, and the
// drawn chart against the whole chart it stands for.
#include "core/charts/plotmodel.h"
#include "core/vdr/container.h"
#include "core/vdr/speed.h"
#include "gui/charts/speedplot.h"

#include "vdrencoder.h"

#include <QSignalSpy>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <climits>

QT_CHARTS_USE_NAMESPACE

namespace {

const QDate kDay(2024, 1, 31);
const int kVisible = 946; // the speed chart's area on a 1280 px wide screen

qint64 ms(int h, int m, int s = 0, int msec = 0)
{
    return QDateTime(kDay, QTime(h, m, s, msec)).toMSecsSinceEpoch();
}

qint64 dayEnd()
{
    return QDateTime(kDay.addDays(1), QTime(0, 0)).toMSecsSinceEpoch();
}

// The whole chart of the day at a slider position, with the speed chart's insets.
plot::TimeScale dayScale(int slider)
{
    plot::TimeScale scale;
    scale.minMs = ms(0, 0);
    scale.maxMs = dayEnd();
    scale.tickCount = plot::tickCount(scale.minMs, scale.maxMs, slider);
    scale.width = kVisible * plot::ticksPerHour(slider);
    scale.left = 77.4375;
    scale.right = 29.8;
    return scale;
}

// Every point of the sample day, as the decoder gives them.
QVector<QPointF> sampleDayPoints()
{
    const QByteArray file = vdrenc::sampleDay(kDay);
    for (const vdr::BlockInfo &b : vdr::walkContainer(file).blocks) {
        if (b.dataId != vdrenc::SpeedId)
            continue;
        const vdr::SpeedRecords block(reinterpret_cast<const uchar *>(file.constData()) + b.dataOffset,
                                      b.dataSize);
        return vdr::speedChartPoints(block, vdr::speedRecordStarts(block), plot::kSpeedAxisMax);
    }
    return {};
}

// A shown speed plot the size of the main window's, styled as the chart page styles it.
struct ShownPlot
{
    QWidget host;
    SpeedPlot *plot = new SpeedPlot(&host);

    ShownPlot()
    {
        host.resize(kVisible, 418);
        plot->chart()->setTitle(QStringLiteral("Speed History"));
        plot->axisX()->setFormat(QStringLiteral("h:mm:ss"));
        plot->axisX()->setLabelsAngle(75);
        plot->axisY()->setTitleText(QStringLiteral("Speed"));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
    }
    void show(int slider, int scroll)
    {
        plot->setTimeAxis(QDateTime::fromMSecsSinceEpoch(ms(0, 0)), QDateTime::fromMSecsSinceEpoch(dayEnd()),
                          plot::tickCount(ms(0, 0), dayEnd(), slider));
        plot->showColumns(kVisible * plot::ticksPerHour(slider), scroll, kVisible);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestSpeedPlot : public QObject
{
    Q_OBJECT

private slots:
    void scaleTable();
    void window_data();
    void window();
    void unorderedLineDrawnWhole();
    void drawnAsTheWholeChart_data();
    void drawnAsTheWholeChart();
    void pictureOfEverySample();
};

// Per slider position (0 and 8 are out of range): ticks per hour, seconds per tick, ticks of a day.
void TestSpeedPlot::scaleTable()
{
    QStringList table;
    for (int slider = 0; slider <= 8; ++slider) {
        table << QStringLiteral("%1 %2 %3")
                     .arg(plot::ticksPerHour(slider))
                     .arg(plot::tickSeconds(slider))
                     .arg(plot::tickCount(ms(0, 0), dayEnd(), slider));
        QCOMPARE(plot::tickCount(ms(10, 0), ms(10, 20), slider), 2); // less than an hour: both ends
    }
    QCOMPARE(table, QStringList({"1 3600 25", "1 3600 25", "2 1800 49", "3 1200 73", "6 600 145",
                                 "12 300 289", "60 60 1441", "120 30 2881", "1 3600 25"}));
}

void TestSpeedPlot::window_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("scroll");
    QTest::newRow("whole day") << 1 << 0.0;
    QTest::newRow("30 min, start") << 2 << 0.0;
    QTest::newRow("30 min, end") << 2 << double(kVisible);
    QTest::newRow("10 min, a tick on the edge") << 4 << dayScale(4).xOf(double(ms(6, 0)));
    QTest::newRow("30 s, start") << 7 << 0.0;
    QTest::newRow("30 s, 10:03:17") << 7 << dayScale(7).xOf(double(ms(10, 3, 17)));
    QTest::newRow("30 s, end") << 7 << double(kVisible * 119);
}

// The view covers the visible columns with the ticks of the whole chart at their places, with
// a handful of ticks and a width that does not change while the chart scrolls.
void TestSpeedPlot::window()
{
    QFETCH(int, slider);
    QFETCH(double, scroll);
    const plot::TimeScale scale = dayScale(slider);
    QVERIFY(qAbs(scale.xOf(scale.instantAt(scroll)) - scroll) < 1e-6);
    QVERIFY(qAbs(scale.xOf(double(scale.maxMs)) - (scale.width - scale.right)) < 1e-6);

    const plot::TimeWindow w = plot::windowOf(scale, scroll, kVisible);
    QCOMPARE(w.minMs, scale.tickMs(w.firstTick));
    QCOMPARE(w.maxMs, scale.tickMs(w.lastTick));
    QCOMPARE(w.minMs % (plot::tickSeconds(slider) * 1000), ms(0, 0) % (plot::tickSeconds(slider) * 1000));
    QVERIFY(w.viewLeft >= 0 && w.viewLeft + w.viewWidth <= scale.width);
    QVERIFY(w.viewLeft <= scroll && w.viewLeft + w.viewWidth >= scroll + kVisible);
    QVERIFY(w.firstTick == 0 || scale.xOf(double(w.minMs)) < scroll);
    QVERIFY(w.lastTick == scale.tickCount - 1 || scale.xOf(double(w.maxMs)) > scroll + kVisible);
    QVERIFY(qAbs(w.viewLeft + w.plotLeft - scale.xOf(double(w.minMs))) < 1e-6);
    QVERIFY(qAbs(w.plotWidth - (scale.xOf(double(w.maxMs)) - scale.xOf(double(w.minMs)))) < 1e-6);
    QVERIFY(w.plotLeft >= scale.left - 1e-6);
    if (slider == 1) {
        QCOMPARE(w.tickCount(), 25);
        QCOMPARE(w.viewLeft, 0);
        QCOMPARE(w.viewWidth, kVisible);
    } else {
        QVERIFY(w.tickCount() <= kVisible / (scale.plotWidth() / (scale.tickCount - 1)) + 5);
        QCOMPARE(plot::windowOf(scale, scale.width / 2 + 17.5, kVisible).viewWidth, w.viewWidth);
    }
}

// The line drawn is the envelope of the span (the preview suite checks the span and its
// neighbours); a line whose points go back in time cannot be cut by time and is drawn whole.
void TestSpeedPlot::unorderedLineDrawnWhole()
{
    QVector<QPointF> points;
    for (int j = 0; j < 120; ++j)
        points.append(QPointF(double(ms(8, 0)) + 500 * j, 50 + j % 7));
    std::swap(points[5], points[6]);
    plot::SpeedLine line;
    line.setPoints(points);
    QCOMPARE(line.shown(double(ms(8, 0, 10)), double(ms(8, 0, 20)), 60.0, 10), points);
}

void TestSpeedPlot::drawnAsTheWholeChart_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<QTime>("at");
    QTest::newRow("whole day") << 1 << QTime(0, 0);
    QTest::newRow("10 min") << 4 << QTime(13, 7);
    // short labels (0:12:30) and long ones (12:12:30) take different room below the plot
    QTest::newRow("30 s, night") << 7 << QTime(0, 12, 10);
    QTest::newRow("30 s, noon") << 7 << QTime(12, 12, 10);
    QTest::newRow("30 s, day's end") << 7 << QTime(23, 59, 59);
}

// The view draws the ticks where the whole chart has them, its plot as high as the whole
// chart's at any place of the day, a handful of ticks and the line of its own columns, and it
// stays as it is laid out.
void TestSpeedPlot::drawnAsTheWholeChart()
{
    QFETCH(int, slider);
    QFETCH(QTime, at);
    ShownPlot shown;
    shown.show(1, 0);
    const QRectF wholeDay = shown.plot->chart()->plotArea();
    shown.plot->setLine(sampleDayPoints());

    shown.show(slider, 0);
    const plot::TimeScale &scale = shown.plot->scale();
    const double x = scale.xOf(double(QDateTime(kDay, at).toMSecsSinceEpoch())) - kVisible / 2;
    shown.show(slider, std::clamp(int(x), 0, int(scale.width) - kVisible));
    QCOMPARE(scale.tickCount, plot::tickCount(ms(0, 0), dayEnd(), slider));
    QCOMPARE(scale.left, wholeDay.left());

    QChart *chart = shown.plot->chart();
    const plot::TimeWindow &w = shown.plot->window();
    QCOMPARE(shown.plot->axisX()->tickCount(), w.tickCount());
    QCOMPARE(shown.plot->view()->x(), w.viewLeft);
    for (int k = w.firstTick; k <= w.lastTick; ++k) {
        const double drawn = chart->mapToPosition(QPointF(double(scale.tickMs(k)), 0)).x() + w.viewLeft;
        QVERIFY2(qAbs(drawn - scale.xOf(double(scale.tickMs(k)))) <= 0.5, qPrintable(QString::number(k)));
    }
    QVERIFY(qAbs(chart->plotArea().top() - wholeDay.top()) <= 0.5);
    QVERIFY(qAbs(chart->plotArea().bottom() - wholeDay.bottom()) <= 0.5);
    const QVector<QPointF> line = qtcompat::seriesPoints(shown.plot->series());
    QVERIFY(line.size() <= 4 * (w.viewWidth + 2));
    QVERIFY(!line.isEmpty() && line.first().x() <= w.minMs &&
            line.last().x() >= qMin(w.maxMs, ms(23, 59, 59)));

    QSignalSpy laidOut(shown.plot, &TimeChart::laidOut);
    QTest::qWait(20);
    QCOMPARE(laidOut.count(), 0);
}

namespace {

// A pixel at least half covered by the blue line.
bool onLine(const QImage &image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return qBlue(c) - qRed(c) > 128;
}

// Top and bottom pixel of a column that the line covers at least half, or (-1, -1).
QPair<int, int> columnExtent(const QImage &image, int x)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (onLine(image, x, y)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    return {top, bottom};
}

} // namespace

// The series holds the line per pixel column; drawn, it must show the line of every sample.
void TestSpeedPlot::pictureOfEverySample()
{
    ShownPlot shown;
    const QVector<QPointF> all = sampleDayPoints();
    QVERIFY(all.size() > 150000);
    shown.plot->setLine(all);
    shown.show(4, 12 * kVisible / 5);
    QChartView *view = shown.plot->view();
    view->setRenderHint(QPainter::Antialiasing, false);
    QLineSeries *series = shown.plot->series();
    QVERIFY(series->count() < all.size() / 20);

    const QImage envelopePicture = view->grab().toImage();
    series->replace(all);
    QCoreApplication::processEvents();
    const QImage fullPicture = view->grab().toImage();
    QCOMPARE(envelopePicture.size(), fullPicture.size());

    // Every column shows the stretch of line of the same column in the other picture, give or
    // take the rasteriser's rounding of a step into the next column: no sample's spike is lost
    // and none is added.
    QVector<QPair<int, int>> fullExtent, envExtent;
    for (int x = 0; x < fullPicture.width(); ++x) {
        fullExtent.append(columnExtent(fullPicture, x));
        envExtent.append(columnExtent(envelopePicture, x));
    }
    auto within = [](const QVector<QPair<int, int>> &one, const QVector<QPair<int, int>> &other, int x) {
        if (one[x].first < 0)
            return true;
        int top = INT_MAX, bottom = -1;
        for (int n = qMax(0, x - 1); n <= qMin(other.size() - 1, x + 1); ++n) {
            if (other[n].first >= 0) {
                top = qMin(top, other[n].first);
                bottom = qMax(bottom, other[n].second);
            }
        }
        return one[x].first >= top - 1 && one[x].second <= bottom + 1;
    };
    int drawn = 0;
    for (int x = 0; x < fullPicture.width(); ++x) {
        drawn += fullExtent[x].first >= 0;
        QVERIFY2(within(envExtent, fullExtent, x) && within(fullExtent, envExtent, x),
                 qPrintable(QStringLiteral("column %1").arg(x)));
    }
    QVERIFY(drawn > 500);
}

QTEST_MAIN(TestSpeedPlot)
#include "tst_speedplot.moc"
