// The "Period" page over an imported folder of encoded days: what it shows against the core's
// report and the report command, the finding that opens its day at its start, the findings
// export, and the tab's title in both languages.
#include "support/clirunner.h"

#include "core/vdr/tableexport.h"
#include "gui/app/mainwindow.h"
#include "gui/period/periodpage.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QStackedBarSeries>
#include <QtTest>

using testsupport::child;

namespace {

// Driver A1 drives from 06:00 for the given minutes without a stop, then rests.
QByteArray dayFile(const QDate &day, int minutes)
{
    const QDateTime start(day, QTime(6, 0));
    vdrenc::DeviceInfo device;
    device.carNo = "TRK-1";
    return vdrenc::container(
        {{vdrenc::TechnologyId, "DT_TECH_DATA", vdrenc::technologyBlock(device, {}, {}, {}, {})},
         {vdrenc::DrivingId, "DT_DRIVE_DATA",
          vdrenc::drivingBlock(
              {{"A1", vdrenc::drivingStatus(true, 1, 1), vdrenc::stamp(start)},
               {"A1", vdrenc::drivingStatus(true, 4, 1), vdrenc::stamp(start.addSecs(minutes * 60))}})}});
}

} // namespace

class TestPeriodPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageAndCommandAgree();
    void findingOpensItsDay();
    void tabTitle_data();
    void tabTitle();

private:
    // The folder imported, its first day open, the page shown (it reads the days shortly).
    PeriodPage *showPeriod(MainWindow &w)
    {
        w.setLanguage(MainWindow::Language::SourceTexts);
        w.importFolder(folder);
        w.OnParseVDRFileLater();
        child<QTabWidget>(w, "tabWidget")->setCurrentWidget(w.periodPageWidget());
        return w.periodPageWidget();
    }

    QTemporaryDir dir;
    QString folder;
};

void TestPeriodPage::initTestCase()
{
    // 2 h, 6 h 30 min without a break (the one breach), no file on the 3rd (a gap), 2 h.
    folder = dir.filePath(QStringLiteral("days"));
    const int minutes[] = {120, 390, -1, 120};
    for (int i = 0; i < 4; ++i) {
        const QDate day(2024, 1, 1 + i);
        if (minutes[i] > 0)
            testsupport::writeFile(folder, vdrenc::dayFileName(day), dayFile(day, minutes[i]));
    }
}

void TestPeriodPage::pageAndCommandAgree()
{
    testsupport::ModalCloser closer;
    MainWindow w;
    PeriodPage *page = showPeriod(w);
    QTRY_VERIFY(page->hasReport());

    const period::PeriodReport &report = page->report();
    QCOMPARE(report.filesUsed, 3);
    QCOMPARE(page->dayTable()->rowCount(), 4);
    QCOMPARE(page->dayTable()->item(2, 0)->text(), QStringLiteral("2024/01/03"));
    QVERIFY(page->dayTable()->item(2, 2)->text().contains(QStringLiteral("No day file")));
    QCOMPARE(page->findingTable()->rowCount(), report.findings.size());
    // One bar set (driver A1), its hours per day.
    const auto bars = page->chartView()->chart()->series();
    auto *stack = qobject_cast<QStackedBarSeries *>(bars.value(0));
    QVERIFY(stack);
    QCOMPARE(stack->barSets().size(), 1);
    QCOMPARE(stack->barSets().at(0)->at(1), 6.5);
    QCOMPARE(stack->barSets().at(0)->at(2), 0.0);

    // The command on the same folder: the same findings, and the same finding rows in its CSV.
    const CliRun json = runCli({QStringLiteral("report"), folder, QStringLiteral("--json")});
    QCOMPARE(json.exitCode, 1);
    const QJsonArray cliFindings = QJsonDocument::fromJson(json.out).object().value("findings").toArray();
    QCOMPARE(cliFindings.size(), report.findings.size());
    int breaches = 0;
    for (int i = 0; i < cliFindings.size(); ++i) {
        const QJsonObject f = cliFindings.at(i).toObject();
        QCOMPARE(f.value("rule").toString(), period::ruleKey(report.findings.at(i).rule));
        QCOMPARE(f.value("text").toString(), report.findings.at(i).text);
        breaches += f.value("kind").toString() == QLatin1String("breach");
    }
    QCOMPARE(breaches, 1);

    // "Export table..." on this page writes the findings.
    QVERIFY(w.exportTableAction()->isEnabled());
    const QString csvPath = dir.filePath(QStringLiteral("findings.csv"));
    QVERIFY(w.exportCurrentPage(csvPath));
    const QStringList lines =
        QString::fromUtf8(testsupport::readFile(csvPath).mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), report.findings.size() + 2); // header, rows, the empty end
    QCOMPARE(lines.first(), period::findingsTable({}).captions.join(QLatin1Char(',')));
    const QString cliCsv =
        QString::fromUtf8(runCli({QStringLiteral("report"), folder, QStringLiteral("--csv")}).out);
    for (const QString &line : lines.mid(1, report.findings.size())) {
        const QStringList f = line.split(QLatin1Char(','));
        QVERIFY2(cliCsv.contains(QStringLiteral(",%1,%2,").arg(f.at(4), f.at(5))), qPrintable(line));
    }
    QVERIFY(page->savePdf(dir.filePath(QStringLiteral("period.pdf"))));
    QVERIFY(closer.texts().isEmpty());
}

void TestPeriodPage::findingOpensItsDay()
{
    testsupport::ModalCloser closer;
    MainWindow w;
    auto *tabs = child<QTabWidget>(w, "tabWidget");
    PeriodPage *page = showPeriod(w);
    QTRY_VERIFY(page->hasReport());
    int row = -1;
    for (int i = 0; i < page->report().findings.size(); ++i)
        if (page->report().findings.at(i).kind == period::FindingKind::Breach)
            row = i;
    QVERIFY(row >= 0);

    QTableWidget *table = page->findingTable();
    const QRect cell = table->visualItemRect(table->item(row, 0));
    // A double click as a mouse gives it: press, release, then the double click.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_COMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tab_chart"));
    QCOMPARE(child<QComboBox>(w, "date_comboBox")->currentText(), QStringLiteral("2024/01/02"));
    QCOMPARE(w.dayModel().day(), QDate(2024, 1, 2));
    QCOMPARE(child<QLabel>(w, "spd_date_value")->text(), QStringLiteral("2024/01/02"));
    QCOMPARE(child<QLabel>(w, "spd_time_value")->text(), QStringLiteral("06:00:00.0"));
    QCOMPARE(child<QLabel>(w, "spd_driver_value")->text(), QStringLiteral("A1"));
    QVERIFY(closer.texts().isEmpty());
}

void TestPeriodPage::tabTitle_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::newRow("Chinese") << int(MainWindow::Language::Chinese) << QStringLiteral("期間");
    QTest::newRow("English") << int(MainWindow::Language::English) << QStringLiteral("Period");
}

void TestPeriodPage::tabTitle()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    MainWindow w;
    w.setLanguage(MainWindow::Language(language));
    QCoreApplication::processEvents();
    auto *tabs = child<QTabWidget>(w, "tabWidget");
    QCOMPARE(tabs->tabText(tabs->indexOf(w.periodPageWidget())), title);
    QCOMPARE(tabs->indexOf(w.periodPageWidget()), tabs->count() - 1);
}

QTEST_MAIN(TestPeriodPage)
#include "tst_periodpage.moc"
