// Times the hot paths of opening a day: from the bytes of the full sample day to filled
// pages. Run by hand: tests/bench/tavrin-bench [-median 9 | other QtTest options]
#include "app/mainwindow.h"
#include "vdr/container.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QtTest>

class BenchOpenDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { day = vdrenc::sampleDay(QDate(2024, 1, 31)); }
    void walkContainer();
    void openFullDay();

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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchOpenDay bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_openday.moc"
