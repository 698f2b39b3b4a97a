// Drops on the window, the table export against the command line's, the keyboard shortcuts,
// and a file handed over on the command line.
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"

#include "support/tarwriter.h"
#include "support/testsupport.h"
#include "tools/encoder/vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::ModalCloser;
using testsupport::mwTr;
using testsupport::readFile;

namespace {

const QByteArray &sample()
{
    static const QByteArray day = vdrenc::sampleDay(QDate(2024, 1, 31));
    return day;
}

QStringList dates(MainWindow &w)
{
    QStringList list;
    auto *box = w.findChild<QComboBox *>("date_comboBox");
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

QString dateLabel(MainWindow &w)
{
    return w.findChild<QLabel *>("date_value")->text();
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(tmp.isValid()); }
    void drops_data();
    void drops();
    void exportPage_data();
    void exportPage();
    void exportDisabled();
    void keyboard();
    void fileMenu();
    void recentList();
    void commandLineFile_data();
    void commandLineFile();

private:
    QTemporaryDir tmp;
};

void TestDesktop::drops_data()
{
    const QString dir = tmp.path() + "/drops";
    testsupport::writeFile(dir + "/days", "D20240130__A.vdr", sample());
    testsupport::writeFile(dir + "/days", "D20240131__A.vdr", sample());
    testsupport::writeFile(dir, "D20240129__A.tar",
                           tartest::archive({tartest::file("D20240129__A.vdr", sample())}));
    testsupport::writeFile(dir, "notes.txt", "x");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<bool>("refused");
    QTest::newRow("day file") << QStringList{dir + "/days/D20240131__A.vdr"} << QStringList{"2024/01/31"}
                              << false;
    QTest::newRow("folder") << QStringList{dir + "/days"} << QStringList{"2024/01/30", "2024/01/31"} << false;
    QTest::newRow("tar") << QStringList{dir + "/D20240129__A.tar"} << QStringList{"2024/01/29"} << false;
    QTest::newRow("other file") << QStringList{dir + "/notes.txt"} << QStringList() << true;
    QTest::newRow("two files") << QStringList{dir + "/days/D20240130__A.vdr", dir + "/days/D20240131__A.vdr"}
                               << QStringList() << true;
}

void TestDesktop::drops()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, dates);
    QFETCH(bool, refused);
    MainWindow w;
    ModalCloser closer;
    QVERIFY(testsupport::dropFiles(&w, paths));
    if (refused) {
        QTRY_COMPARE(closer.texts(),
                     QStringList{mwTr("Only a 'vdr' file, a folder or a 'tar' archive can be dropped here")});
        QVERIFY(::dates(w).isEmpty());
        return;
    }
    QTRY_COMPARE(dateLabel(w), dates.first());
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QCOMPARE(::dates(w), dates);
    QVERIFY2(closer.texts().isEmpty(), qPrintable(closer.texts().join('|')));
}

void TestDesktop::exportPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("header"); // the start of the captions row
    const char *rows[][4] = {{"tab_event", "events", "zh_TW", "記錄,索引,類型"},
                             {"tab_speed", "speed", "en_US", "DateTime,Speed (0.5sec)"},
                             {"tab_driver", "driver", "zh_TW", "駕駛姓名,變更後活動類型"},
                             {"tab_tech", "technology", "en_US", "Record,Index,Operator,Item"},
                             {"tab_location", "location", "zh_TW", "日期時間,經度"}};
    for (const auto &row : rows)
        QTest::newRow(row[1]) << QString(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
}

// The window exports in its language, byte for byte as the command line does with --lang.
void TestDesktop::exportPage()
{
    QFETCH(QString, page);
    QFETCH(QString, table);
    QFETCH(QString, lang);
    QFETCH(QString, header);
    const QString day = testsupport::writeFile(tmp.path() + "/export", "D20240131__A.vdr", sample());
    MainWindow w;
    if (lang == QLatin1String("en_US"))
        w.setLanguage(MainWindow::Language::English);
    w.readVdrFile(day);
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentWidget(w.findChild<QWidget *>(page));
    QVERIFY(w.exportTableAction()->isEnabled());
    QCoreApplication::processEvents(); // the language change
    // The export takes its texts without touching the window's catalogue: no language change
    // (which would fill the pages again) follows it.
    struct LanguageChanges : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::LanguageChange;
            return false;
        }
    } changes;
    w.installEventFilter(&changes);
    const QString out = tmp.path() + "/export/" + page + ".csv";
    QVERIFY(w.exportCurrentPage(out));
    QCoreApplication::processEvents();
    QCOMPARE(changes.count, 0);

    QProcess cli;
    cli.start(TAVRIN_VDR, {"export", day, "--table", table, "--lang", lang});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QByteArray expected = cli.readAllStandardOutput();
    QVERIFY(expected.count('\n') > 1);
    QVERIFY2(expected.startsWith("\xEF\xBB\xBF" + header.toUtf8()), expected.left(80).constData());
    QCOMPARE(readFile(out), expected);
}

void TestDesktop::exportDisabled()
{
    MainWindow w;
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentWidget(w.findChild<QWidget *>("tab_event"));
    QVERIFY(!w.exportTableAction()->isEnabled()); // nothing loaded
    QVERIFY(!w.exportCurrentPage(tmp.path() + "/none.csv"));
    w.readVdrFile(testsupport::writeFile(tmp.path() + "/disabled", "D20240131__A.vdr", sample()));
    QVERIFY(w.exportTableAction()->isEnabled());
    tabs->setCurrentWidget(w.findChild<QWidget *>("tab_chart"));
    QVERIFY(!w.exportTableAction()->isEnabled());
    QVERIFY(!w.exportCurrentPage(tmp.path() + "/chart.csv"));
    QVERIFY(!QFile::exists(tmp.path() + "/chart.csv"));
    tabs->setCurrentWidget(w.findChild<QWidget *>("tab_driver"));
    w.clearAllPages(); // a download or an import starts
    QVERIFY(!w.exportTableAction()->isEnabled());
}

void TestDesktop::keyboard()
{
    const QString dir = tmp.path() + "/keys";
    testsupport::writeFile(dir, "D20240130__A.vdr", sample());
    testsupport::writeFile(dir, "D20240131__A.vdr", sample());
    MainWindow w;
    ModalCloser closer;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.importFolder(dir);
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QTest::keyClick(&w, Qt::Key_PageDown);
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/31"));
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QTest::keyClick(&w, Qt::Key_PageDown); // the last day stays
    QTest::keyClick(&w, Qt::Key_PageUp);
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    // F5 opens the day on display again, the date list unchanged.
    QTest::keyClick(&w, Qt::Key_F5);
    QVERIFY(w.waitingOverlay()->isVisible());
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QCOMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    QCOMPARE(dates(w), QStringList({"2024/01/30", "2024/01/31"}));
    QVERIFY2(closer.texts().isEmpty(), qPrintable(closer.texts().join('|')));
    QCOMPARE(w.findChild<QAction *>("actionPrint")->shortcut(), QKeySequence("Ctrl+P"));
}

// "File" comes first; its entries, in order, with their keys (each key on one action only), and
// each reaching the chooser of its button.
void TestDesktop::fileMenu()
{
    MainWindow w;
    auto *menu = w.findChild<QMenu *>("menuFile");
    QCOMPARE(w.menuBar()->actions().first(), menu->menuAction());
    QCOMPARE(menu->title(), mwTr("File"));
    QStringList entries, keys; // keys: of every action of the window
    for (QAction *action : w.findChildren<QAction *>())
        keys << action->shortcut().toString();
    for (QAction *action : menu->actions())
        entries << action->objectName() + action->shortcut().toString() +
                       (action->menu() ? action->menu()->objectName() : "");
    QCOMPARE(keys.count("Ctrl+O") + keys.count("Ctrl+Q"), 2);
    QCOMPARE(entries, QStringList({"actionOpenFileCtrl+O", "actionImportFolder", "actionImportTar",
                                   "menuRecent", "", "actionQuitCtrl+Q"}));
    QStringList choosers; // what each entry asks for
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&choosers] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            choosers << (dialog->testOption(QFileDialog::ShowDirsOnly) ? dialog->windowTitle()
                                                                       : dialog->nameFilters().first());
            dialog->reject();
        }
    });
    poll.start(5);
    for (const char *name : {"actionOpenFile", "actionImportFolder", "actionImportTar"})
        menu->findChild<QAction *>(name)->trigger();
    QCOMPARE(choosers,
             QStringList({mwTr("Binary data(*.vdr )"), mwTr("Choose Folder"), mwTr("Tar archive(*.tar)")}));
}

// The last ten days, folders and archives opened, the latest first, kept for the next run; an
// entry that is gone is taken off when chosen. The title names the day and its car number.
void TestDesktop::recentList()
{
    const QString dir = tmp.path() + "/recent";
    QStringList opened;
    for (int day = 1; day <= 11; ++day)
        opened.prepend(
            testsupport::writeFile(dir, QString("D202401%1__A.vdr").arg(day, 2, 10, QChar('0')), sample()));
    const QString tar = testsupport::writeFile(
        dir, "D20240129__A.tar", tartest::archive({tartest::file("D20240129__A.vdr", sample())}));
    ModalCloser closer;
    {
        MainWindow w;
        for (int i = opened.size() - 1; i >= 0; --i)
            w.openFileLater(opened.at(i));
        QTRY_COMPARE(w.windowTitle(),
                     QString::fromUtf8("Tavrin Player V0.0.31 — D20240111__A.vdr (ABC-5678)"));
        w.importFolder(dir);
        w.importTarArchive(tar);
        QTRY_VERIFY(w.tarArchivePath().isEmpty() && w.waitingOverlay()->isHidden());
    }
    MainWindow w; // a new run
    QStringList shown;
    for (QAction *action : w.recentMenu()->actions())
        shown << action->data().toString();
    QCOMPARE(shown, (QStringList{tar, dir} + opened.mid(0, 8)));
    QFile::remove(opened.first());
    w.recentMenu()->actions().at(2)->trigger();
    QCOMPARE(closer.texts(),
             QStringList{mwTr("%1 no longer exists; it was taken off the recent list.").arg(opened.first())});
    QCOMPARE(w.recentMenu()->actions().size(), 9);
    w.recentMenu()->actions().at(2)->trigger(); // a day file opens as "Open File..." opens it
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/10"));
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
}

// The viewer started as a desktop starts it for a double-clicked day file (Exec=tavrin-player
// %f: the path as the one argument), and as a shell starts it with a relative path.
void TestDesktop::commandLineFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("relative");
    const QString copy = QString::fromUtf8("D20240131__ 副本.vdr");
    QTest::newRow("plain") << QStringLiteral("plain") << QStringLiteral("D20240131__.vdr") << false;
    QTest::newRow("blanks and Chinese") << QString::fromUtf8("行車 紀錄 (1)") << copy << false;
    QTest::newRow("relative") << QString::fromUtf8("相對 路徑") << copy << true;
}

void TestDesktop::commandLineFile()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, relative);
    const QString dir = tmp.filePath(QStringLiteral("args/") + folder);
    const QString path = testsupport::writeFile(dir, name, sample());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), tmp.filePath(QStringLiteral("args/data")));
    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.setProcessChannelMode(QProcess::MergedChannels);
    if (relative)
        viewer.setWorkingDirectory(dir);
    viewer.start(QStringLiteral(TAVRIN_PLAYER), {relative ? name : path});
    // The block walk's debug lines tell that the whole day was read and found sound; a file
    // that cannot be opened gives a message box instead.
    QByteArray output;
    QTRY_VERIFY2_WITH_TIMEOUT((output += viewer.readAll()).contains("blockCnt : 5"), output.constData(),
                              60000);
    QVERIFY(output.contains("checksum caculate-result: 0x51 file-checksum: 0x51"));
    QCOMPARE(viewer.state(), QProcess::Running);
    viewer.terminate();
    QVERIFY(viewer.waitForFinished(10000));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
