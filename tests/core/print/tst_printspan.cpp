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
    void span_data()
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
        const auto row = [&](const char *name, const QDateTime &from, const QDateTime &to, int tick,
                             const QDateTime &start, const QDateTime &end, int ticks,
                             const QDateTime &axisMin = {}, const QDateTime &axisMax = {}) {
            QTest::newRow(name) << from << to << tick << (axisMin.isValid() ? axisMin : min)
                                << (axisMax.isValid() ? axisMax : max) << start << end << ticks;
        };
        row("30 s", at(10, 3, 17, 400), at(10, 15, 42, 900), 30, at(10, 3, 0), at(10, 16, 0), 27);
        row("600 s", at(10, 3, 17), at(10, 15, 42), 600, at(10, 0, 0), at(10, 20, 0), 3);
        row("fraction on a tick", at(10, 3, 0, 700), at(10, 16, 0, 300), 30, at(10, 3, 0), at(10, 16, 0), 27);
        row("cut to the axis start", min.addSecs(-95), at(0, 12, 10), 600, min, at(0, 20, 0), 3);
        row("cut to the axis end", at(23, 51, 10), max.addSecs(50), 600, at(23, 50, 0), max, 2);
        row("end before start", at(12, 0, 0), at(11, 0, 0), 3600, at(12, 0, 0), max, 13);
        row("beyond the axis", min.addDays(2), min.addDays(3), 3600, min, max, 25);
        const auto utc = [](int d, int h, int m, int s) {
            return QDateTime(d ? QDate(1970, 1, d) : QDate(1969, 12, 31), QTime(h, m, s), Qt::UTC);
        };
        row("before 1970", utc(0, 23, 59, 45), utc(1, 0, 0, 5), 30, utc(0, 23, 59, 30), utc(1, 0, 0, 30), 3,
            utc(0, 0, 0, 0), utc(2, 0, 0, 0));
    }

    void span()
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
        // never below two, and not capped above
        QCOMPARE(print::tickCount(axisMax, axisMin, tick), 2);
        QCOMPARE(print::tickCount(axisMin, axisMax, 0), 2);
        QCOMPARE(print::tickCount(at(10, 0, 0), at(10, 0, 0).addDays(1), 30), 2881);
    }

    void placement_data()
    {
        QTest::addColumn<QSizeF>("window");
        QTest::addColumn<QSizeF>("printable");
        QTest::addColumn<QRectF>("target");
        // the preview on landscape A4 at 96 dpi with 10 mm margins: the width limits
        const double s = 1047.0 / 1091;
        QTest::newRow("A4 landscape")
            << QSizeF(1091, 720) << QSizeF(1047, 718) << QRectF(0, (718 - 720 * s) / 2, 1047, 720 * s);
        QTest::newRow("scaled up") << QSizeF(100, 50) << QSizeF(400, 400) << QRectF(0, 100, 400, 200);
        QTest::newRow("empty window") << QSizeF(0, 50) << QSizeF(400, 400) << QRectF();
    }

    void placement()
    {
        QFETCH(QSizeF, window);
        QFETCH(QSizeF, printable);
        QFETCH(QRectF, target);
        const QRectF placed = print::pagePlacement(window, printable);
        QVERIFY(qAbs(placed.left() - target.left()) + qAbs(placed.top() - target.top()) +
                    qAbs(placed.width() - target.width()) + qAbs(placed.height() - target.height()) <
                1e-9);
    }
};

QTEST_APPLESS_MAIN(TestPrintSpan)
#include "tst_printspan.moc"
