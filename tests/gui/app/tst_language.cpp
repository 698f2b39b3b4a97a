// Switching the interface language (the open day's pages follow at once), the about box and
// screenshots.
#include "gui/app/mainwindow.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>
#include <QtTest>

using testsupport::child;
using testsupport::mwTr;

using testsupport::DebugCapture;
using testsupport::ModalCloser;

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void startsInChineseSwitchesOnce();
    void textsFollowTheLanguage_data();
    void textsFollowTheLanguage();
    void screenshots_data();
    void screenshots();

private:
    static QString tabTitle(MainWindow &w, const char *page)
    {
        auto *tabs = child<QTabWidget>(w, "tabWidget");
        return tabs->tabText(tabs->indexOf(child<QWidget>(w, page)));
    }
    static void settle() { QCoreApplication::processEvents(); }
};

// The window starts in Chinese; choosing it again changes nothing; each switch gives the
// title its version once, and the about box the version in the language of the moment.
void TestLanguage::startsInChineseSwitchesOnce()
{
    QScopedPointer<DebugCapture> debug(new DebugCapture); // one capture at a time
    MainWindow w;
    settle();
    QVERIFY(debug->contains(QStringLiteral(" set language 1 ")));
    debug.reset();
    QCOMPARE(w.locale(), QLocale(QLocale::Chinese, QLocale::Taiwan));
    QCOMPARE(mwTr("Power Loss"), QStringLiteral("電源供應中斷"));

    w.setWindowTitle(QStringLiteral("marker")); // would be reset by a re-application of texts
    {
        DebugCapture again;
        w.on_actionChinese_triggered();
        settle();
        QCOMPARE(again.lines(), QStringList{QStringLiteral(" set the same language 1 ")});
    }
    QCOMPARE(w.windowTitle(), QStringLiteral("marker"));

    ModalCloser closer;
    w.on_actionversion_triggered();
    for (const char *action : {"actionEnglish", "actionChinese", "actionEnglish"}) {
        child<QAction>(w, action)->trigger();
        settle();
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin Player V0.0.31")); // the version once
    }
    QCOMPARE(w.locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    w.on_actionversion_triggered();
    QCOMPARE(closer.texts(), QStringList({QStringLiteral("版本:0.0.31"), QStringLiteral("Version:0.0.31")}));
}

void TestLanguage::textsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("texts");
    // The connect button, the "Tool" menu, a page title ('&' doubled so the tab shows it), a
    // table caption, the driver chart's top category, the scale slider's label; and on the
    // pages of the open day: a fault type, a table title of the technology page, an activity
    // of the driver table.
    QTest::newRow("English") << "actionEnglish"
                             << QStringList{
                                    "Connect RS232...", "Tool",          "Fault && Event", "Index",
                                    "Driving",          "Scale\n1 hour", "GPS Fail",       "Devcie Info",
                                    "Driving",          "File",          "Cancel",         "Driving"};
    QTest::newRow("Chinese") << "actionChinese"
                             << QStringList{"RS232連線", "工具",        "事件及故障", "編號",
                                            "行駛中",    "刻度\n1小時", "GPS故障",    "裝置資訊",
                                            "行駛中",    "檔案",        "取消",       "行駛中"};
}

void TestLanguage::textsFollowTheLanguage()
{
    QFETCH(QString, action);
    QFETCH(QStringList, texts);
    using namespace vdrenc;
    const auto record = [](int action, int minute) {
        return DrivingRecord{"A", drivingStatus(true, action, 1), stamp(2024, 1, 31, 8, minute, 0)};
    };
    QTemporaryDir dir;
    const QString day = testsupport::writeFile(
        dir.path(), "D20240131__.vdr",
        container(
            {{FaultEventId, "E", faultEventBlock({{'5', stamp(2024, 1, 31, 8, 0, 0), zeroStamp()}}, {})},
             {TechnologyId, "T", technologyBlock(DeviceInfo(), {}, {}, {}, {})},
             {DrivingId, "D", drivingBlock({record(Driving, 0), record(Resting, 10)})}}));
    MainWindow w;
    settle();
    testsupport::ModalCloser closer;
    w.readVdrFile(day);
    w.updateSpeedCursor(QDateTime(QDate(2024, 1, 31), QTime(8, 5)));
    // go through the other language first, so that every text really changes
    child<QAction>(w, action == QLatin1String("actionEnglish") ? "actionChinese" : "actionEnglish")
        ->trigger();
    settle();
    child<QAction>(w, action.toLatin1().constData())->trigger();
    settle();

    QCategoryAxis *axis = nullptr;
    for (QChartView *view : w.findChildren<QChartView *>())
        for (QAbstractAxis *a : view->chart()->axes())
            axis = axis ? axis : qobject_cast<QCategoryAxis *>(a);
    QString scale;
    for (QLabel *label : w.findChildren<QLabel *>())
        scale = label->text() == texts.at(5) ? label->text() : scale;
    // Qt's own texts follow too: a message box's standard button
    QMessageBox box;
    QAbstractButton *cancel = box.addButton(QMessageBox::Cancel);
    const auto shown = [&w](const char *browser, const QString &text) {
        const QString page = child<QTextBrowser>(w, browser)->toPlainText();
        return page.contains(text) ? text : page;
    };
    QCOMPARE(QStringList({child<QPushButton>(w, "rs232")->text(), child<QMenu>(w, "menuTool")->title(),
                          tabTitle(w, "tab_event"),
                          child<QTableWidget>(w, "speedTime_table")->horizontalHeaderItem(0)->text(),
                          axis->categoriesLabels().last(), scale, shown("eventtextBrowser", texts.at(6)),
                          shown("techtextBrowser", texts.at(7)),
                          child<QTableWidget>(w, "driverInfo_table")->item(0, 1)->text(),
                          child<QMenu>(w, "menuFile")->title(), cancel->text(),
                          child<QLabel>(w, "spd_status_value")->text()}),
             texts);
    QCOMPARE(closer.texts(), QStringList());
}

void TestLanguage::screenshots_data()
{
    QTest::addColumn<bool>("blocked");
    QTest::newRow("three, into a new desktop folder") << false;
    // No desktop folder, and a plain file in its place: the snapshot folder cannot exist.
    QTest::newRow("desktop path taken by a file") << true;
}

void TestLanguage::screenshots()
{
    QFETCH(bool, blocked);
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // a fresh account: no desktop folder yet
    QVERIFY(desktop.startsWith(home.path()) && !QFileInfo::exists(desktop));
    if (blocked)
        testsupport::writeFile(QFileInfo(desktop).absolutePath(), QFileInfo(desktop).fileName(),
                               "not a folder");

    MainWindow w;
    w.show();
    ModalCloser closer;
    QStringList expected;
    for (int n = 0; n < (blocked ? 1 : 3); ++n) {
        // the closed message box handed the activation back to the window
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.on_actionsnapshot_triggered();
        const QString path = desktop + QStringLiteral("/snapshot/screenshot%1.png").arg(n);
        expected << mwTr("Save on ") + path;
        if (!blocked)
            QCOMPARE(QImage(path).size(), w.size() * w.devicePixelRatioF());
    }
    if (blocked) {
        QCOMPARE(closer.texts().size(), 1);
        QVERIFY2(closer.texts().first().startsWith(
                     mwTr("The screenshot could not be saved on %1").arg(desktop + "/snapshot/screenshot")),
                 qPrintable(closer.texts().first()));
    } else {
        QCOMPARE(closer.texts(), expected);
    }
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
