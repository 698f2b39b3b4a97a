// Times the hot paths of opening a day: from the bytes of the full sample day to filled
// pages. Run by hand: tests/bench/tavrin-bench [-median 9 | other QtTest options]
#include "app/mainwindow.h"
#include "vdr/container.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QSlider>
#include <QTabWidget>
#include <QtCharts/QChartView>
#include <QtTest>

class BenchOpenDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { day = vdrenc::sampleDay(QDate(2024, 1, 31)); }
    void walkContainer();
    void openFullDay();
    void speedChartPage();
    void scaleChange_data();
    void scaleChange();
    void cursorClick();

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
        w.parseVdrContainer(copy);
    }
    qInstallMessageHandler(quiet);
    QVERIFY(closer.texts().isEmpty());
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
        w.findChild<QComboBox *>(QStringLiteral("date_comboBox"))->addItem(QStringLiteral("2024/01/31"));
        w.clearAllPages();
        w.parseVdrContainer(day);
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
    QTest::newRow("1 to 7") << 1 << 7;
    QTest::newRow("7 to 1") << 7 << 1;
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

// One click on the speed chart, up to the filled panel and the placed time line.
void BenchOpenDay::cursorClick()
{
    const QtMessageHandler previous = silence();
    {
        ChartPage chart(day);
        auto *view =
            chart.w.findChild<QWidget *>(QStringLiteral("speedWidget"))->findChild<QtCharts::QChartView *>();
        QVERIFY(view);
        const QPoint at(view->width() / 2, view->height() / 2);
        QBENCHMARK
        {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        }
    }
    qInstallMessageHandler(previous);
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
