// Drops on the window, the table export against the command line's, the keyboard shortcuts,
// and a file handed over on the command line.
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"

#include "support/tarwriter.h"
#include "support/testsupport.h"
#include "tools/encoder/vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
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
    const char *const pages[][2] = {{"tab_event", "events"},
                                    {"tab_speed", "speed"},
                                    {"tab_driver", "driver"},
                                    {"tab_tech", "technology"},
                                    {"tab_location", "location"}};
    for (const auto &page : pages)
        QTest::newRow(page[1]) << page[0] << page[1];
}

void TestDesktop::exportPage()
{
    QFETCH(QString, page);
    QFETCH(QString, table);
    const QString day = testsupport::writeFile(tmp.path() + "/export", "D20240131__A.vdr", sample());
    MainWindow w;
    // The command line has no catalogue; the window exports in the same texts whatever its
    // language (Chinese now, as it starts).
    w.readVdrFile(day);
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentWidget(w.findChild<QWidget *>(page));
    QVERIFY(w.exportTableAction()->isEnabled());
    QCoreApplication::processEvents(); // the language change of the start
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
    cli.start(TAVRIN_VDR, {"export", day, "--table", table});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    const QByteArray expected = cli.readAllStandardOutput();
    QVERIFY(expected.count('\n') > 1);
    QCOMPARE(readFile(out), expected);
    // and the window kept its language
    QCOMPARE(mwTr("Opening file, please wait....."), QStringLiteral("檔案解析中，請稍後…"));
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
    QCOMPARE(w.findChild<QAction *>("openFileShortcut")->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(w.findChild<QAction *>("quitShortcut")->shortcut(), QKeySequence("Ctrl+Q"));
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
