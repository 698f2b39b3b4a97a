// The print preview of the speed chart: the span it copies from the main chart, its
// heading, footer and cursor line, its speed line, and the page written as a PDF file.
#include "gui/app/mainwindow.h"
#include "gui/charts/speedplot.h"
#include "gui/print/ztprintwidget.h"

#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <cmath>

QT_CHARTS_USE_NAMESPACE
using namespace fixtures;
using testsupport::child;
using testsupport::ModalCloser;

namespace {

// Twenty-five minutes of driving from 09:55.
QByteArray speedBlock()
{
    QVector<vdrenc::SpeedRecord> records;
    for (int m = 0; m < 25; ++m)
        records << speedMinute(at(9, 55).addSecs(60 * m), 30 + m);
    return vdrenc::speedBlock(records);
}

QString printText(const char *source)
{
    return QCoreApplication::translate("ZtPrintWidget", source);
}

QChartView *chartViewOf(QWidget &w)
{
    return child<QWidget>(w, "speedWidget")->findChild<QChartView *>();
}

QDateTimeAxis *timeAxisOf(QWidget &w)
{
    return qobject_cast<QDateTimeAxis *>(chartViewOf(w)->chart()->axes(Qt::Horizontal).value(0));
}

QLineSeries *lineOf(QWidget &w)
{
    return qobject_cast<QLineSeries *>(chartViewOf(w)->chart()->series().value(0));
}

SpeedPlot *plotOf(QWidget &w)
{
    return chartViewOf(w)->findChild<SpeedPlot *>();
}

// Closes a preview when the test ends, whatever happened.
struct PreviewGuard
{
    QPointer<ZtPrintWidget> preview;
    ~PreviewGuard() { delete preview.data(); }
};

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        vdrenc::DeviceInfo device;
        device.carNo = "ABC-1234";
        dayPath =
            testsupport::writeFile(tmp.path(), vdrenc::dayFileName(kDay),
                                   vdrenc::container({{vdrenc::SpeedId, "DT_SPD_DATA", speedBlock()},
                                                      {vdrenc::TechnologyId, "DT_TECH_DATA",
                                                       vdrenc::technologyBlock(device, {}, {}, {}, {})}}));
    }

    void visibleSpan_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("tick");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("angle");
        QTest::newRow("30 s") << 7 << 30 << "hh:mm:ss" << 75;
        QTest::newRow("10 min") << 4 << 600 << "hh:mm" << 0;
    }

    void visibleSpan()
    {
        QFETCH(int, slider);
        QFETCH(int, tick);
        QFETCH(QString, format);
        QFETCH(int, angle);
        MainWindow w;
        open(w);
        child<QSlider>(w, "verticalSlider")->setValue(slider);
        QCoreApplication::processEvents();
        scrollTo(w, at(10, 3, 17));

        // the part of the main chart the window shows, as times
        const QWidget *viewport = child<QScrollArea>(w, "speedScrollArea")->viewport();
        const auto timeAt = [&](int x) {
            const QPoint inView = chartViewOf(w)->mapFrom(viewport, QPoint(x, 0));
            return QDateTime::fromMSecsSinceEpoch(plotOf(w)->instantAtChartX(inView.x()));
        };
        const QDateTime left = timeAt(0);
        const QDateTime right = timeAt(viewport->width());
        QVERIFY2(qAbs(left.secsTo(at(10, 3, 17))) < 60, qPrintable(left.toString()));

        PreviewGuard guard{w.openPrintPreview()};
        QDateTimeAxis *axis = timeAxisOf(*guard.preview);
        QVERIFY(axis);
        QCOMPARE(axis->min().toSecsSinceEpoch() % tick, 0);
        QCOMPARE(axis->max().toSecsSinceEpoch() % tick, 0);
        QVERIFY(axis->min() <= left && left.addSecs(-tick) < axis->min());
        QVERIFY(axis->max() >= right.addMSecs(-999) && axis->max().addSecs(-tick) < right);
        QCOMPARE(axis->tickCount(), int(axis->min().secsTo(axis->max()) / tick + 1));
        QCOMPARE(axis->format(), format);
        QCOMPARE(axis->labelsAngle(), angle);
    }

    void cursor_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<QDateTime>("t");
        QTest::addColumn<int>("scrollBy"); // seconds from t to the left edge of the main chart
        QTest::addColumn<bool>("chartPage");
        QTest::addColumn<int>("height"); // of the preview's line; 0: no line
        QTest::newRow("hourly") << 1 << at(10, 10, 0, 500) << 0 << true << 396;
        QTest::newRow("30 s") << 7 << at(10, 5, 20) << -200 << true << 366;
        // The main chart's time line is hidden, its cursor is not: the preview has the cursor's
        // heading and footer, and its line where the instant is on its chart (the span, cut at
        // whole ticks, still holds an instant just left of the view).
        QTest::newRow("just left of the view") << 7 << at(10, 5, 2) << 10 << true << 366;
        QTest::newRow("scrolled out of view") << 7 << at(10, 5, 20) << 3600 << true << 0;
        QTest::newRow("another page") << 7 << at(10, 5, 20) << 0 << false << 396;
        // Without a cursor the heading names the day on display, also when the date list shows a
        // day that opened nothing (its file is gone).
        QTest::newRow("no cursor, another day listed") << 7 << QDateTime() << 0 << true << 0;
    }

    void cursor()
    {
        QFETCH(int, slider);
        QFETCH(QDateTime, t);
        QFETCH(int, scrollBy);
        QFETCH(bool, chartPage);
        QFETCH(int, height);
        MainWindow w;
        open(w);
        child<QSlider>(w, "verticalSlider")->setValue(slider);
        QCoreApplication::processEvents();
        if (t.isValid()) {
            w.updateSpeedCursor(t);
        } else {
            w.addDateListDay(kDay.addDays(1));
            child<QComboBox>(w, "date_comboBox")->setCurrentIndex(1);
        }
        if (scrollBy)
            scrollTo(w, t.addSecs(scrollBy));
        if (!chartPage)
            child<QTabWidget>(w, "tabWidget")->setCurrentWidget(child<QWidget>(w, "tab_speed"));
        QCOMPARE(child<QLabel>(w, "speedChartTimeLine")->isVisible(),
                 t.isValid() && chartPage && scrollBy <= 0);
        PreviewGuard guard{w.openPrintPreview()};
        ZtPrintWidget &preview = *guard.preview;
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCoreApplication::processEvents();

        const QString time = child<QLabel>(w, "spd_time_value")->text();
        QCOMPARE(time, t.toString(t.time().msec() ? "hh:mm:ss.5" : "hh:mm:ss.0"));
        QCOMPARE(child<QLabel>(preview, "into1_label")->text(),
                 t.isValid()
                     ? printText("Car No.") + ":ABC-1234  " + printText("Time") + ":2024/01/31 " + time
                     : printText("Date") + ":2024/01/31  " + printText("Car No.") + ":ABC-1234");
        QCOMPARE(child<QLabel>(preview, "into2_label")->text(),
                 t.isValid() ? printText("ID") + ":  " + printText("Status") + ":  " + printText("Speed") +
                                   ":" + child<QLabel>(w, "spd_speed_value")->text() + "  " +
                                   printText("Mileage") + ":" + child<QLabel>(w, "spd_mileage_value")->text()
                             : QString());

        if (!chartPage) { // the whole axis
            QCOMPARE(timeAxisOf(preview)->min(), at(0, 0));
            QCOMPARE(timeAxisOf(preview)->max(), at(0, 0).addDays(1));
        }
        QLabel *line = child<QLabel>(preview, "speedChartTimeLine");
        QCOMPARE(line->isVisible(), height > 0);
        if (!height)
            return;
        QCOMPARE(line->size(), QSize(1, height));
        QWidget *speedWidget = child<QWidget>(preview, "speedWidget");
        const QPointF p =
            chartViewOf(preview)->chart()->mapToPosition(QPointF(double(t.toMSecsSinceEpoch()), 140));
        QCOMPARE(line->pos(), QPoint(speedWidget->x() + int(std::lround(p.x())), speedWidget->y() + 35));
    }

    void speedValues()
    {
        const QByteArray block = vdrenc::speedBlock({speedMinute(at(8, 0), 50)});
        ZtPrintWidget preview;
        preview.buildChart(at(8, 0, 0), at(8, 1, 0), 30);
        preview.buildSeries(reinterpret_cast<const uchar *>(block.constData()), block.size());
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCoreApplication::processEvents();
        const QVector<QPointF> points = qtcompat::seriesPoints(lineOf(preview));
        // 120 samples over a plot about 1000 px wide: each its own column, all kept
        QCOMPARE(points.size(), 120);

        // a narrower span draws its own samples and one on either side, up to the plot's edges;
        // the cursor's line moves onto the new chart
        plot::SpeedCursor cursor;
        cursor.instant = at(8, 0, 15);
        preview.setCursorInfo(QStringLiteral("ABC-1234"), cursor);
        preview.buildChart(at(8, 0, 10), at(8, 0, 20), 30);
        preview.buildSeries(reinterpret_cast<const uchar *>(block.constData()), block.size());
        QVERIFY(preview.findChild<QChartView *>()->isVisible());
        QTRY_COMPARE(qtcompat::seriesPoints(lineOf(preview)).size(), 23); // once the new chart is laid out
        const QVector<QPointF> span = qtcompat::seriesPoints(lineOf(preview));
        QCOMPARE(span.first().x(), double(at(8, 0, 9, 500).toMSecsSinceEpoch()));
        QCOMPARE(span.last().x(), double(at(8, 0, 20, 500).toMSecsSinceEpoch()));
        const QPointF p = chartViewOf(preview)->chart()->mapToPosition(
            QPointF(double(cursor.instant.toMSecsSinceEpoch()), 140));
        QLabel *line = child<QLabel>(preview, "speedChartTimeLine");
        QVERIFY(line->isVisible());
        QCOMPARE(line->x(), child<QWidget>(preview, "speedWidget")->x() + int(std::lround(p.x())));

        // a block whose size does not match its count draws nothing
        preview.buildSeries(reinterpret_cast<const uchar *>(block.constData()), block.size() - 1);
        QCOMPARE(lineOf(preview)->count(), 0);
    }

    // A landscape page is written; the print button is gone for good after it. A file that cannot
    // be written is said, and the button stays.
    void pdf()
    {
        MainWindow w;
        open(w);
        w.updateSpeedCursor(at(10, 0));
        PreviewGuard guard{w.openPrintPreview()};
        QVERIFY(QTest::qWaitForWindowExposed(guard.preview));
        auto *button = child<QPushButton>(*guard.preview, "pushButton");
        ModalCloser closer;
        const QString unwritable = tmp.filePath(QStringLiteral("no/such/folder/report.pdf"));
        QVERIFY(!guard.preview->savePdf(unwritable));
        QCOMPARE(closer.texts(), QStringList{printText("The report could not be saved as a PDF file:\n%1")
                                                 .arg(QDir::toNativeSeparators(unwritable))});
        QVERIFY(!QFile::exists(unwritable) && !button->isHidden());

        closer.clear();
        const QString path = tmp.filePath(QStringLiteral("report.pdf"));
        QVERIFY(guard.preview->savePdf(path));
        QVERIFY(closer.texts().isEmpty());
        const QByteArray pdf = testsupport::readFile(path);
        QVERIFY(pdf.startsWith("%PDF") && pdf.size() > 5000);
        const int box = pdf.indexOf("/MediaBox [") + 11;
        const QList<QByteArray> numbers = pdf.mid(box, pdf.indexOf(']', box) - box).simplified().split(' ');
        QVERIFY(numbers.size() == 4 && numbers[2].toDouble() > numbers[3].toDouble());
        QVERIFY(button->isHidden());
    }

    void noPrinterOffersPdf()
    {
        if (!QPrinter().printerName().isEmpty())
            QSKIP("a printer is installed");
        MainWindow w;
        open(w);
        PreviewGuard guard{w.openPrintPreview()};
        auto *button = child<QPushButton>(*guard.preview, "pushButton");
        const QString noPrinter =
            printText("No printer is installed. Save the report as a PDF file instead?");

        // accepted: the file dialog asks for the file, the page is written there
        const QString path = tmp.filePath(QStringLiteral("chosen"));
        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << box->text();
                box->button(QMessageBox::Save)->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                seen << QStringLiteral("file dialog");
                QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept(); // as the Save button does
            }
        });
        answer.start(5);
        button->click();
        answer.stop();
        QCOMPARE(seen, (QStringList{noPrinter, QStringLiteral("file dialog")}));
        QVERIFY(
            testsupport::readFile(path + QStringLiteral(".pdf")).startsWith("%PDF")); // the suffix is added
        QVERIFY(button->isHidden());
    }

private:
    void open(MainWindow &w);
    // Scrolls the main charts (slider value > 1) so that the view starts near t.
    void scrollTo(MainWindow &w, const QDateTime &t);
    QTemporaryDir tmp;
    QString dayPath;
};

void TestPrintPreview::open(MainWindow &w)
{
    w.resize(1600, 900);
    w.show();
    child<QTabWidget>(w, "tabWidget")->setCurrentWidget(child<QWidget>(w, "tab_chart"));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.readVdrFile(dayPath);
    QCoreApplication::processEvents();
}

void TestPrintPreview::scrollTo(MainWindow &w, const QDateTime &t)
{
    const double x = plotOf(w)->scale().xOf(double(t.toMSecsSinceEpoch()));
    child<QScrollArea>(w, "driverScrollArea")->horizontalScrollBar()->setValue(int(x));
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
