// Switching the interface language, the about box and screenshots.
#include "app/mainwindow.h"
#include "app/tablecaptions.h"

#include "support/testsupport.h"

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
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
    void startsInChinese();
    void sameLanguageIsNoOp();
    void switchingKeepsOneVersion();
    void textsFollowTheLanguage_data();
    void textsFollowTheLanguage();
    void tableCaptionsFollow();
    void chartCategoriesFollow();
    void aboutBox();
    void threeScreenshots();
    void failedScreenshotIsReported();

private:
    static QString tabTitle(MainWindow &w, const char *page)
    {
        auto *tabs = child<QTabWidget>(w, "tabWidget");
        return tabs->tabText(tabs->indexOf(child<QWidget>(w, page)));
    }
    static void settle() { QCoreApplication::processEvents(); }
};

void TestLanguage::startsInChinese()
{
    DebugCapture debug;
    MainWindow w;
    settle();
    QVERIFY(debug.contains(QStringLiteral(" set language 1 ")));
    QCOMPARE(w.locale(), QLocale(QLocale::Chinese, QLocale::Taiwan));
    QCOMPARE(mwTr("Power Loss"), QStringLiteral("電源供應中斷"));
}

void TestLanguage::sameLanguageIsNoOp()
{
    MainWindow w;
    settle();
    w.setWindowTitle(QStringLiteral("marker")); // would be reset by a re-application of texts
    DebugCapture debug;
    w.on_actionChinese_triggered();
    settle();
    QCOMPARE(debug.lines(), QStringList{QStringLiteral(" set the same language 1 ")});
    QCOMPARE(w.windowTitle(), QStringLiteral("marker"));
}

void TestLanguage::switchingKeepsOneVersion()
{
    MainWindow w;
    settle();
    for (const char *action : {"actionEnglish", "actionChinese", "actionEnglish"}) {
        child<QAction>(w, action)->trigger();
        settle();
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin Player V0.0.31")); // the version once
    }
    QCOMPARE(w.locale(), QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestLanguage::textsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<QString>("toolMenu");
    QTest::addColumn<QString>("eventPage"); // '&' doubled so the tab shows it
    // clang-format off
    QTest::newRow("English") << "actionEnglish" << "Connect RS232..." << "Tool" << "Fault && Event";
    QTest::newRow("Chinese") << "actionChinese" << QStringLiteral("RS232連線") << QStringLiteral("工具")
                             << QStringLiteral("事件及故障");
    // clang-format on
}

void TestLanguage::textsFollowTheLanguage()
{
    QFETCH(QString, action);
    QFETCH(QString, connect);
    QFETCH(QString, toolMenu);
    QFETCH(QString, eventPage);
    MainWindow w;
    settle();
    // go through the other language first, so that every text really changes
    child<QAction>(w, action == QLatin1String("actionEnglish") ? "actionChinese" : "actionEnglish")
        ->trigger();
    settle();
    child<QAction>(w, action.toLatin1().constData())->trigger();
    settle();
    QCOMPARE(child<QPushButton>(w, "rs232")->text(), connect);
    QCOMPARE(child<QMenu>(w, "menuTool")->title(), toolMenu);
    QCOMPARE(tabTitle(w, "tab_event"), eventPage);
}

void TestLanguage::tableCaptionsFollow()
{
    MainWindow w;
    settle();
    auto *table = child<QTableWidget>(w, "speedTime_table");
    setTableCaptions(table,
                     {QT_TRANSLATE_NOOP("MainWindow", "index"), QT_TRANSLATE_NOOP("MainWindow", "Time")});
    w.setLanguage(0);
    settle();
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Index"));
    w.setLanguage(1);
    settle();
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("時間"));
}

void TestLanguage::chartCategoriesFollow()
{
    MainWindow w;
    settle();
    QCategoryAxis *axis = nullptr;
    for (QChartView *view : w.findChildren<QChartView *>())
        for (QAbstractAxis *a : view->chart()->axes())
            axis = axis ? axis : qobject_cast<QCategoryAxis *>(a);
    QVERIFY(axis);
    // the scale slider's label follows too, without a change of its value
    auto labelShows = [&w](const QString &text) {
        const QList<QLabel *> labels = w.findChildren<QLabel *>();
        return std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return l->text() == text; });
    };
    w.setLanguage(0);
    settle();
    QCOMPARE(axis->categoriesLabels().last(), QStringLiteral("Driving"));
    QVERIFY(labelShows(QStringLiteral("Scale\n1 hour")));
    w.setLanguage(1);
    settle();
    QCOMPARE(axis->categoriesLabels().last(), QStringLiteral("行駛中"));
    QVERIFY(labelShows(QStringLiteral("刻度\n1小時")));
}

void TestLanguage::aboutBox()
{
    MainWindow w;
    settle();
    ModalCloser closer;
    w.on_actionversion_triggered();
    w.setLanguage(0);
    settle();
    w.on_actionversion_triggered();
    QCOMPARE(closer.texts(), QStringList({QStringLiteral("版本:0.0.31"), QStringLiteral("Version:0.0.31")}));
}

void TestLanguage::threeScreenshots()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // a fresh account: no desktop folder yet
    QVERIFY(desktop.startsWith(home.path()) && !QFileInfo::exists(desktop));

    MainWindow w;
    w.show();
    ModalCloser closer;
    QStringList expected;
    for (int n = 0; n < 3; ++n) {
        // the closed message box handed the activation back to the window
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.on_actionsnapshot_triggered();
        const QString path = desktop + QStringLiteral("/snapshot/screenshot%1.png").arg(n);
        expected << mwTr("Save on ") + path;
        QCOMPARE(QImage(path).size(), w.size() * w.devicePixelRatioF());
    }
    QCOMPARE(closer.texts(), expected);
}

void TestLanguage::failedScreenshotIsReported()
{
    // No desktop folder, and a plain file in its place: the snapshot folder cannot exist.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    testsupport::writeFile(QFileInfo(desktop).absolutePath(), QFileInfo(desktop).fileName(), "not a folder");

    MainWindow w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ModalCloser closer;
    w.on_actionsnapshot_triggered();
    QCOMPARE(closer.texts().size(), 1);
    const QString message = closer.texts().first();
    QVERIFY2(message.startsWith(
                 mwTr("The screenshot could not be saved on %1").arg(desktop + "/snapshot/screenshot")),
             qPrintable(message));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
