// The span of the printed chart (the visible part widened to whole ticks and cut to the
// axis) and the placement of the window on the page.
#include "print/printspan.h"

#include <QtTest>

namespace {

const QDate kDay(2024, 1, 31);

QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(kDay, QTime(h, m, s, ms));
}

qint64 ms(const QDateTime &t)
{
    return t.toMSecsSinceEpoch();
}

} // namespace

class TestPrintSpan : public QObject
{
    Q_OBJECT

private slots:
    void tickSeconds_data();
    void tickSeconds();
    void span_data();
    void span();
    void tickCountNeverBelowTwo();
    void placement_data();
    void placement();
};

void TestPrintSpan::tickSeconds_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("seconds");
    const int expected[] = {3600, 3600, 1800, 1200, 600, 300, 60, 30, 3600};
    for (int v = 0; v <= 8; ++v)
        QTest::newRow(qPrintable(QString::number(v))) << v << expected[v];
    QTest::newRow("-1") << -1 << 3600;
}

void TestPrintSpan::tickSeconds()
{
    QFETCH(int, slider);
    QFETCH(int, seconds);
    QCOMPARE(print::tickSeconds(slider), seconds);
}

void TestPrintSpan::span_data()
{
    QTest::addColumn<QDateTime>("visibleStart");
    QTest::addColumn<QDateTime>("visibleEnd");
    QTest::addColumn<int>("tick");
    QTest::addColumn<QDateTime>("axisMin");
    QTest::addColumn<QDateTime>("axisMax");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<int>("ticks");

    const QDateTime dayMin = at(0, 0, 0);
    const QDateTime dayMax = at(0, 0, 0).addDays(1);
    QTest::newRow("30 s ticks") << at(10, 3, 17, 400) << at(10, 15, 42, 900) << 30 << dayMin << dayMax
                                << at(10, 3, 0) << at(10, 16, 0) << 27;
    QTest::newRow("600 s ticks") << at(10, 3, 17) << at(10, 15, 42) << 600 << dayMin << dayMax << at(10, 0, 0)
                                 << at(10, 20, 0) << 3;
    QTest::newRow("hourly ticks") << at(10, 3, 17) << at(10, 15, 42) << 3600 << dayMin << dayMax
                                  << at(10, 0, 0) << at(11, 0, 0) << 2;
    QTest::newRow("already whole ticks")
        << at(10, 3, 0) << at(10, 16, 0) << 30 << dayMin << dayMax << at(10, 3, 0) << at(10, 16, 0) << 27;
    // the fraction of a second is cut before aligning
    QTest::newRow("fraction on a tick") << at(10, 3, 0, 700) << at(10, 16, 0, 300) << 30 << dayMin << dayMax
                                        << at(10, 3, 0) << at(10, 16, 0) << 27;
    QTest::newRow("start before the axis") << at(0, 0, 0).addSecs(-95) << at(0, 12, 10) << 600 << dayMin
                                           << dayMax << dayMin << at(0, 20, 0) << 3;
    QTest::newRow("end after the axis") << at(23, 51, 10) << at(0, 0, 0).addDays(1).addSecs(50) << 600
                                        << dayMin << dayMax << at(23, 50, 0) << dayMax << 2;
    // an axis fitted to the last sample does not lie on whole ticks
    const QDateTime oddMin = at(0, 1, 59, 500).addDays(-1);
    const QDateTime oddMax = at(0, 1, 59, 500);
    QTest::newRow("axis off the ticks")
        << oddMin << oddMax.addMSecs(10) << 3600 << oddMin << oddMax << oddMin << oddMax << 25;
    QTest::newRow("end before start")
        << at(12, 0, 0) << at(11, 0, 0) << 3600 << dayMin << dayMax << at(12, 0, 0) << dayMax << 13;
    // nothing of the view lies on the axis: the whole axis, never a reversed span
    QTest::newRow("beyond the axis") << at(0, 0, 0).addDays(2) << at(0, 0, 0).addDays(3) << 3600 << dayMin
                                     << dayMax << dayMin << dayMax << 25;
    QTest::newRow("before 1970") << QDateTime(QDate(1969, 12, 31), QTime(23, 59, 45), Qt::UTC)
                                 << QDateTime(QDate(1970, 1, 1), QTime(0, 0, 5), Qt::UTC) << 30
                                 << QDateTime(QDate(1969, 12, 31), QTime(0, 0), Qt::UTC)
                                 << QDateTime(QDate(1970, 1, 2), QTime(0, 0), Qt::UTC)
                                 << QDateTime(QDate(1969, 12, 31), QTime(23, 59, 30), Qt::UTC)
                                 << QDateTime(QDate(1970, 1, 1), QTime(0, 0, 30), Qt::UTC) << 3;
}

void TestPrintSpan::span()
{
    QFETCH(QDateTime, visibleStart);
    QFETCH(QDateTime, visibleEnd);
    QFETCH(int, tick);
    QFETCH(QDateTime, axisMin);
    QFETCH(QDateTime, axisMax);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(int, ticks);
    const print::Span span = print::alignedSpan(ms(visibleStart), ms(visibleEnd), tick, axisMin, axisMax);
    QCOMPARE(span.start.toMSecsSinceEpoch(), start.toMSecsSinceEpoch());
    QCOMPARE(span.end.toMSecsSinceEpoch(), end.toMSecsSinceEpoch());
    QCOMPARE(span.tickCount, ticks);
}

void TestPrintSpan::tickCountNeverBelowTwo()
{
    QCOMPARE(print::tickCount(at(10, 0, 0), at(10, 0, 0), 30), 2);
    QCOMPARE(print::tickCount(at(10, 0, 0), at(9, 0, 0), 30), 2);
    QCOMPARE(print::tickCount(at(10, 0, 0), at(10, 0, 0).addDays(1), 30), 2881);
    QCOMPARE(print::tickCount(at(10, 0, 0), at(11, 0, 0), 0), 2);
}

void TestPrintSpan::placement_data()
{
    QTest::addColumn<QSizeF>("window");
    QTest::addColumn<QSizeF>("printable");
    QTest::addColumn<QRectF>("target");
    // the preview on landscape A4 at 96 dpi with 10 mm margins: the width limits
    const double s = 1047.0 / 1091;
    QTest::newRow("A4 landscape") << QSizeF(1091, 720) << QSizeF(1047, 718)
                                  << QRectF(0, (718 - 720 * s) / 2, 1047, 720 * s);
    QTest::newRow("width limits") << QSizeF(1000, 500) << QSizeF(500, 500) << QRectF(0, 125, 500, 250);
    QTest::newRow("scaled up") << QSizeF(100, 50) << QSizeF(400, 400) << QRectF(0, 100, 400, 200);
    QTest::newRow("empty window") << QSizeF(0, 50) << QSizeF(400, 400) << QRectF();
}

void TestPrintSpan::placement()
{
    QFETCH(QSizeF, window);
    QFETCH(QSizeF, printable);
    QFETCH(QRectF, target);
    const QRectF placed = print::pagePlacement(window, printable);
    QVERIFY2(qAbs(placed.left() - target.left()) < 1e-9 && qAbs(placed.top() - target.top()) < 1e-9 &&
                 qAbs(placed.width() - target.width()) < 1e-9 &&
                 qAbs(placed.height() - target.height()) < 1e-9,
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(placed.left())
                            .arg(placed.top())
                            .arg(placed.width())
                            .arg(placed.height())));
    // all of the window on the printable area
    if (!target.isNull())
        QVERIFY(QRectF(QPointF(0, 0), printable).adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(placed));
}

QTEST_APPLESS_MAIN(TestPrintSpan)
#include "tst_printspan.moc"
