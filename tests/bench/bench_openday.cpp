// Times the hot paths of opening a day: from the bytes of the full sample day to filled
// pages. Run by hand: tests/bench/tavrin-bench [-median 9 | other QtTest options]
#include "app/mainwindow.h"
#include "driverkey/driverkeyfile.h"
#include "vdr/container.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QTemporaryDir>
#include <QtTest>

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
        w.setLanguage(language);
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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchOpenDay bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_openday.moc"
