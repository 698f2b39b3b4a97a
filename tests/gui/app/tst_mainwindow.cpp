// The main window's start-up state, its shared services and the opening of a day file.
#include "core/vdr/dayfile.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/print/ztprintwidget.h"
#include "gui/serial/recenttimewidget.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

using testsupport::child;
using testsupport::mwTr;

using testsupport::DebugCapture;
using testsupport::ModalCloser;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startupState();
    void overlayFollowsCentralWidget();
    void clearAllPagesKeepsDateList();
    void closingEndsTheProgram();
    void readVdrFileFailures_data();
    void readVdrFileFailures();
    void checksumWithAndWithoutLogPage();
    void truncatedWalkKeepsEarlierBlocks();
    void deferredOpenThroughTimer();

private:
    static QAction *action(MainWindow &w, const char *name) { return child<QAction>(w, name); }
    static QStringList pageNames(MainWindow &w)
    {
        QStringList names;
        auto *tabs = child<QTabWidget>(w, "tabWidget");
        for (int i = 0; i < tabs->count(); ++i)
            names << tabs->widget(i)->objectName();
        return names;
    }

    QTemporaryDir tmp;
};

void TestMainWindow::startupState()
{
    MainWindow w;
    QCOMPARE(pageNames(w), QStringList({"tab_event", "tab_chart", "tab_speed", "tab_driver", "tab_tech",
                                        "tab_location", "tab_map", "periodPage"}));
    QCOMPARE(child<QTabWidget>(w, "tabWidget")->currentWidget()->objectName(), QStringLiteral("tab_event"));

    QStringList shownButtons;
    for (const char *name : {"openfile", "importFloder", "importTar", "rs232", "date", "recenttime"}) {
        if (!child<QPushButton>(w, name)->isHidden())
            shownButtons << QLatin1String(name);
    }
    QCOMPARE(shownButtons, QStringList({"importTar", "rs232"}));
    QCOMPARE(child<QComboBox>(w, "date_comboBox")->count(), 0);
    QVERIFY(w.statusBar()->isHidden());
    QVERIFY(!action(w, "actionspeed")->isEnabled());

    // the log page: lines only while it is shown, in black, kept while it is hidden
    auto *log = child<QTextBrowser>(w, "debugtextBrowser");
    QAction *debug = action(w, "actionDebug");

    w.appendLog(QStringLiteral("hidden line"), Qt::red);
    QVERIFY(log->toPlainText().isEmpty());

    debug->trigger();
    QVERIFY(w.isLogPageShown());
    QVERIFY(action(w, "actionspeed")->isEnabled());
    w.appendLog(QStringLiteral("first line"), Qt::green);
    QCOMPARE(log->textColor(), QColor(Qt::black));

    debug->trigger();
    QVERIFY(!w.isLogPageShown());
    w.appendLog(QStringLiteral("while hidden"), Qt::blue);

    debug->trigger();
    QCOMPARE(pageNames(w).count(QStringLiteral("tab_debug")), 1);
    QCOMPARE(pageNames(w).last(), QStringLiteral("tab_debug"));
    QCOMPARE(log->toPlainText(), QStringLiteral("first line"));
}

void TestMainWindow::overlayFollowsCentralWidget()
{
    MainWindow w;
    {
        ModalCloser closer;
        w.showMessage(QStringLiteral("hello"));
        QVERIFY(!w.waitingOverlay()); // a message alone makes no overlay
    }
    QWidget *central = w.centralWidget();
    w.showLoading(QStringLiteral("wait"));
    ZtPopWaitingWidget *overlay = w.waitingOverlay();
    QVERIFY(overlay && overlay->isVisible());
    QMovie *spinner = child<QLabel>(*overlay, "circle")->movie(); // embedded in the program
    QVERIFY(spinner && spinner->frameCount() > 1 && spinner->state() == QMovie::Running);
    auto *progress = child<QSlider>(*overlay, "waitting_slider");
    progress->setValue(40);
    QCOMPARE(overlay->geometry(), QRect(QPoint(0, 0), central->size()));

    central->resize(central->width() + 50, central->height() + 30);
    QCOMPARE(overlay->size(), central->size());
    auto *box = overlay->findChild<QWidget *>(QStringLiteral("widget"));
    QCoreApplication::processEvents();
    QVERIFY(qAbs(box->geometry().center().x() - overlay->width() / 2) <= 1);

    w.hideLoading();
    QVERIFY(!overlay->isVisible() && overlay->text().isEmpty() && spinner->state() == QMovie::NotRunning);
    QCOMPARE(progress->value(), 0);

    // a message box hides a visible overlay once it is closed
    w.showLoading(QStringLiteral("again"));
    ModalCloser closer;
    w.showMessage(QStringLiteral("failed"));
    QVERIFY(!overlay->isVisible());
}

void TestMainWindow::clearAllPagesKeepsDateList()
{
    MainWindow w;
    auto *dates = child<QComboBox>(w, "date_comboBox");
    dates->addItems({QStringLiteral("2024/01/30"), QStringLiteral("2024/01/31")});
    dates->setCurrentIndex(1);
    child<QLabel>(w, "spd_speed_value")->setText(QStringLiteral("12 km/h"));
    child<QTextBrowser>(w, "eventtextBrowser")->setText(QStringLiteral("old"));

    w.clearAllPages();
    QCOMPARE(dates->count(), 2);
    QCOMPARE(dates->currentIndex(), 1);
    QVERIFY(child<QLabel>(w, "spd_speed_value")->text().isEmpty());
    QVERIFY(child<QTextBrowser>(w, "eventtextBrowser")->toPlainText().isEmpty());
}

// Closing the window ends the event loop even with a print preview and the recent-hours
// window open; the window's end removes the working directories.
void TestMainWindow::closingEndsTheProgram()
{
    QString work, archive;
    QPointer<ZtPrintWidget> preview;
    {
        MainWindow w;
        work = w.workingDirectory();
        archive = w.archiveDirectory();
        for (const QString &dir : {work, archive}) {
            testsupport::writeFile(dir, QStringLiteral("D20240131__.vdr"), "x");
            testsupport::writeFile(dir + QStringLiteral("/sub"), QStringLiteral("deep"), "y");
        }
        testsupport::writeFile(QFileInfo(work).absolutePath(), QStringLiteral("neighbour.txt"), "z");

        w.show();
        preview = w.openPrintPreview();
        w.on_recenttime_clicked();
        QVERIFY(preview->isVisible() && w.recentTimeWindow()->isVisible());
        QTimer::singleShot(0, &w, &QWidget::close);
        QTimer stuck;
        stuck.setSingleShot(true);
        connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        stuck.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        stuck.stop();
        QVERIFY(!w.recentTimeWindow() || !w.recentTimeWindow()->isVisible());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!preview);
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(!QFileInfo::exists(archive));
    QVERIFY(QFile::exists(QFileInfo(work).absolutePath() + QStringLiteral("/neighbour.txt")));
}

void TestMainWindow::readVdrFileFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message"); // source text; translated once a window is up
    QTest::addColumn<QString>("dateLabel");

    const QByteArray good = vdrenc::container({});
    // clang-format off
    QTest::newRow("two pieces") << "D20240131_.vdr" << good << true << "File name formate error" << "";
    QTest::newRow("missing") << "D20240131__.vdr" << good << false << "Can not open file" << "2024/01/31";
    QTest::newRow("empty") << "D20240131__.vdr" << QByteArray() << true << "No data in the file !!" << "2024/01/31";
    QTest::newRow("bad checksum") << "D20240131__.vdr" << QByteArray::fromHex("000001") << true << "Error : Check sum"
                                  << "2024/01/31";
    QTest::newRow("no blocks") << "D20240131__ABC.vdr" << good << true << QString() << "2024/01/31";
    // clang-format on
}

void TestMainWindow::readVdrFileFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    QFETCH(QString, message);
    QFETCH(QString, dateLabel);

    const QString dir = tmp.path() + QLatin1Char('/') + QLatin1String(QTest::currentDataTag());
    QDir().mkpath(dir);
    const QString path = create ? testsupport::writeFile(dir, name, content) : dir + QLatin1Char('/') + name;

    MainWindow w;
    child<QTextBrowser>(w, "eventtextBrowser")->setText(QStringLiteral("previous day"));
    ModalCloser closer;
    DebugCapture debug;
    w.readVdrFile(path);
    QCOMPARE(closer.texts(),
             message.isEmpty() ? QStringList() : QStringList{mwTr(message.toUtf8().constData())});
    QVERIFY(child<QTextBrowser>(w, "eventtextBrowser")->toPlainText().isEmpty());
    QCOMPARE(child<QLabel>(w, "date_value")->text(), dateLabel);
    QCOMPARE(child<QComboBox>(w, "date_comboBox")->count(), dateLabel.isEmpty() ? 0 : 1);
    QCOMPARE(debug.contains(QStringLiteral("blockCnt : 0")), message.isEmpty());
    // only a day on display can be exported (or opened again)
    QCOMPARE(w.exportTableAction()->isEnabled(), message.isEmpty());
}

void TestMainWindow::checksumWithAndWithoutLogPage()
{
    const QByteArray speed(11, 's');
    QByteArray file = vdrenc::container({{1, "DT_SPD_DATA", speed}}, {-1, -1, {}, true});
    const QString path = testsupport::writeFile(tmp.path() + QStringLiteral("/sum"), "D20240131__.vdr", file);

    MainWindow w;
    ModalCloser closer;
    {
        DebugCapture debug;
        w.readVdrFile(path);
        QCOMPARE(closer.texts(), QStringList{mwTr("Error : Check sum")});
        QVERIFY(!debug.contains(QStringLiteral("blockCnt : 1")));
    }
    closer.clear();
    w.findChild<QAction *>(QStringLiteral("actionDebug"))->trigger();
    DebugCapture debug;
    w.readVdrFile(path);
    // the file is decoded: its 11-byte speed block is refused by the speed decoder
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("DT_SPD_DATA Data Size Error")});
    const QString log = child<QTextBrowser>(w, "debugtextBrowser")->toPlainText();
    const quint8 computed = vdrenc::xorChecksum(file.left(file.size() - 1));
    const QString line = QString::asprintf("checksum caculate-result: 0x%x file-checksum: 0x%x", computed,
                                           quint8(file.at(file.size() - 1)));
    QCOMPARE(log, QStringLiteral("D20240131__.vdr\nError : Check sum \n") + line);
    QVERIFY(debug.contains(QStringLiteral("offset : 36")));
}

void TestMainWindow::truncatedWalkKeepsEarlierBlocks()
{
    const QByteArray file = vdrenc::container(
        {{7, "DT_SEVEN", QByteArray(3, 'x')}, {1, "DT_SPD_DATA", QByteArray(4, 0)}}, {-1, 100, {}, false});
    const QString path = testsupport::writeFile(tmp.path() + QStringLiteral("/cut"), "D20240131__.vdr", file);
    MainWindow w;
    w.findChild<QAction *>(QStringLiteral("actionDebug"))->trigger();
    ModalCloser closer;
    DebugCapture debug;
    w.readVdrFile(path);
    QCOMPARE(closer.texts(),
             QStringList{mwTr("The file is damaged: it ends before all of its blocks. Only the "
                              "blocks before the damage are shown.")});
    QVERIFY(debug.contains(QStringLiteral("unknow dataID : 7")));
    QVERIFY(debug.contains(QStringLiteral("dataSize  : 100")));
    const QString log = child<QTextBrowser>(w, "debugtextBrowser")->toPlainText();
    QVERIFY2(log.contains(QStringLiteral("Error : block 2 of 2")), qPrintable(log));
}

void TestMainWindow::deferredOpenThroughTimer()
{
    const QString path = testsupport::writeFile(tmp.path() + QStringLiteral("/later"),
                                                "D20211008__ABC-567.vdr", vdrenc::container({}));
    MainWindow w;
    auto *dates = child<QComboBox>(w, "date_comboBox");
    dates->addItem(QStringLiteral("1999/01/01"));
    w.openFileLater(path);
    QCOMPARE(dates->count(), 0);
    QVERIFY(w.waitingOverlay() && w.waitingOverlay()->isVisible());
    QTRY_VERIFY(!w.waitingOverlay()->isVisible());
    QCOMPARE(dates->itemText(0), QStringLiteral("2021/10/08"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
