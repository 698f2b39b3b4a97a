// Times the hot paths of opening a day: from the bytes of the full sample day to filled
// pages. Run by hand: tests/bench/tavrin-bench [-median 9 | other QtTest options]
#include "app/mainwindow.h"
#include "vdr/container.h"
#include "vdr/driving.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QTabWidget>
#include <QtTest>

class BenchOpenDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { day = vdrenc::sampleDay(QDate(2024, 1, 31)); }
    void walkContainer();
    void openFullDay();
    void decodeDrivingData();
    void drivingPage();
    void drivingPageWithChartShown();

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

static QByteArray blockOf(const QByteArray &day, quint8 dataId)
{
    const vdr::ContainerWalk walk = vdr::walkContainer(day);
    for (const vdr::BlockInfo &block : walk.blocks) {
        if (block.dataId == dataId)
            return day.mid(int(block.dataOffset), int(block.dataSize));
    }
    return {};
}

// The driving block of the full day through the core alone: records, lines, totals, change
// list and minute table rows.
void BenchOpenDay::decodeDrivingData()
{
    const QByteArray block = blockOf(day, vdr::DrivingBlock);
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
    const QByteArray block = blockOf(day, vdr::DrivingBlock);
    MainWindow w;
    testsupport::ModalCloser closer;
    auto *dates = w.findChild<QComboBox *>(QStringLiteral("date_comboBox"));
    dates->addItem(QStringLiteral("2024/01/31"));
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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchOpenDay bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_openday.moc"
