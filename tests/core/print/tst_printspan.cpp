// The span of the printed chart (the visible part widened to whole ticks and cut to the
// axis) and the placement of the window on the page.
#include "core/print/printspan.h"

#include <QtTest>

static QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2024, 1, 31), QTime(h, m, s, ms));
}

class TestPrintSpan : public QObject
{
    Q_OBJECT

private slots:
    void span_data();
    void span();
    void tickCountNeverBelowTwo();
    void placement_data();
    void placement();
};

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

    const QDateTime min = at(0, 0, 0), max = min.addDays(1);
    // clang-format off
    QTest::newRow("30 s") << at(10, 3, 17, 400) << at(10, 15, 42, 900) << 30 << min << max
                          << at(10, 3, 0) << at(10, 16, 0) << 27;
    QTest::newRow("600 s") << at(10, 3, 17) << at(10, 15, 42) << 600 << min << max
                           << at(10, 0, 0) << at(10, 20, 0) << 3;
    QTest::newRow("fraction on a tick") << at(10, 3, 0, 700) << at(10, 16, 0, 300) << 30 << min << max
                                        << at(10, 3, 0) << at(10, 16, 0) << 27;
    QTest::newRow("cut to the axis start") << min.addSecs(-95) << at(0, 12, 10) << 600 << min << max
                                           << min << at(0, 20, 0) << 3;
    QTest::newRow("cut to the axis end") << at(23, 51, 10) << max.addSecs(50) << 600 << min << max
                                         << at(23, 50, 0) << max << 2;
    QTest::newRow("end before start") << at(12, 0, 0) << at(11, 0, 0) << 3600 << min << max
                                      << at(12, 0, 0) << max << 13;
    QTest::newRow("beyond the axis") << min.addDays(2) << min.addDays(3) << 3600 << min << max
                                     << min << max << 25;
    // clang-format on
    const auto utc = [](int d, int h, int m, int s) {
        return QDateTime(d ? QDate(1970, 1, d) : QDate(1969, 12, 31), QTime(h, m, s), Qt::UTC);
    };
    QTest::newRow("before 1970") << utc(0, 23, 59, 45) << utc(1, 0, 0, 5) << 30 << utc(0, 0, 0, 0)
                                 << utc(2, 0, 0, 0) << utc(0, 23, 59, 30) << utc(1, 0, 0, 30) << 3;
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
    const print::Span span = print::alignedSpan(visibleStart.toMSecsSinceEpoch(),
                                                visibleEnd.toMSecsSinceEpoch(), tick, axisMin, axisMax);
    QCOMPARE(span.start.toMSecsSinceEpoch(), start.toMSecsSinceEpoch());
    QCOMPARE(span.end.toMSecsSinceEpoch(), end.toMSecsSinceEpoch());
    QCOMPARE(span.tickCount, ticks);
}

void TestPrintSpan::tickCountNeverBelowTwo()
{
    QCOMPARE(print::tickCount(at(10, 0, 0), at(9, 0, 0), 30), 2);
    QCOMPARE(print::tickCount(at(10, 0, 0), at(11, 0, 0), 0), 2);
    QCOMPARE(print::tickCount(at(10, 0, 0), at(10, 0, 0).addDays(1), 30), 2881);
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
    QTest::newRow("scaled up") << QSizeF(100, 50) << QSizeF(400, 400) << QRectF(0, 100, 400, 200);
    QTest::newRow("empty window") << QSizeF(0, 50) << QSizeF(400, 400) << QRectF();
}

void TestPrintSpan::placement()
{
    QFETCH(QSizeF, window);
    QFETCH(QSizeF, printable);
    QFETCH(QRectF, target);
    const QRectF placed = print::pagePlacement(window, printable);
    QVERIFY(qAbs(placed.left() - target.left()) + qAbs(placed.top() - target.top()) +
                qAbs(placed.width() - target.width()) + qAbs(placed.height() - target.height()) <
            1e-9);
}

QTEST_APPLESS_MAIN(TestPrintSpan)
#include "tst_printspan.moc"
