// Folder import, tar import and the date list, run on the main window with real files,
// real archives and the real console archiver.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"

#include "support/testsupport.h"
#include "tarwriter.h"
#include "vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>

using testsupport::child;
using testsupport::mwTr;
using testsupport::readFile;
#endif

using testsupport::DebugCapture;
using testsupport::ModalCloser;

namespace {

// A small, valid day file whose content tells which file it came from.
QByteArray dayBytes(const QByteArray &tag)
{
    return vdrenc::container({{7, "DT_TAG", tag}});
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                               QDir::Name);
}

int countLines(const QStringList &lines, const QString &prefix)
{
    return int(
        std::count_if(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(prefix); }));
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void folderNameRules();
    void importsInTurn();
    void failedCopyIsReported();
    void daySelection();
    void tarTwoDaysAtTopLevel();
    void tarFilesInSubFolder();
    void tarBadNamesRefusedBeforeArchiver_data();
    void tarBadNamesRefusedBeforeArchiver();
    void tarCorruptArchive();
    void tarMissingArchiver();
    void tarRefusedArchives_data();
    void tarRefusedArchives();

private:
    static QStringList dates(MainWindow &w)
    {
        QStringList items;
        auto *box = child<QComboBox>(w, "date_comboBox");
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    static QString dateLabel(MainWindow &w) { return child<QLabel>(w, "date_value")->text(); }
    static QString log(MainWindow &w) { return child<QTextBrowser>(w, "debugtextBrowser")->toPlainText(); }
    static void showLogPage(MainWindow &w)
    {
        w.findChild<QAction *>(QStringLiteral("actionDebug"))->trigger();
    }
    // Waits until the deferred parse has run and the overlay is gone.
    static bool settled(MainWindow &w) { return !w.waitingOverlay() || !w.waitingOverlay()->isVisible(); }
    QString folder(const char *name, const QMap<QString, QByteArray> &files)
    {
        const QString dir = tmp.path() + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(dir);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            testsupport::writeFile(dir, it.key(), it.value());
        return dir;
    }

    QTemporaryDir tmp;
};

void TestImport::folderNameRules()
{
    const QString dir = folder("rules", {{"D20240131__A.vdr", dayBytes("31")},
                                         {"D20240131__B.vdr", dayBytes("same day again")},
                                         {"D20240130_A_B.vdr", dayBytes("30")},
                                         {"D20240127__.vdr", dayBytes("27")},
                                         {"D20240129__A_B.vdr", dayBytes("four pieces")},
                                         {"d20240128__A.vdr", dayBytes("lower-case d")},
                                         {"D20240231__A.vdr", dayBytes("31 February")},
                                         {"D2024012__.vdr", dayBytes("seven digits")},
                                         {"D20240126__A.txt", dayBytes("not a day file")}});
    MainWindow w;
    ModalCloser closer;
    DebugCapture debug;
    w.importFolder(dir);
    QCOMPARE(dates(w), QStringList({"2024/01/27", "2024/01/30", "2024/01/31", "2024/01/31"}));
    QCOMPARE(filesIn(w.workingDirectory()),
             QStringList({"D20240127__.vdr", "D20240130__.vdr", "D20240131__.vdr"}));
    QCOMPARE(readFile(w.workingDirectory() + "/D20240131__.vdr"), dayBytes("31")); // the first by name
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/27"));
    QTRY_VERIFY(settled(w));
    QVERIFY(closer.texts().isEmpty());
    // The first day is opened once, after its file is in place.
    QCOMPARE(countLines(debug.lines(), "on_date_comboBox_currentIndexChanged"), 1);
    QCOMPARE(countLines(debug.lines(), "blockCnt :"), 1);
}

// One window through several imports: a folder without day files changes nothing, a second
// import replaces the first (stray files included), one whose every name is skipped empties.
void TestImport::importsInTurn()
{
    const QString first =
        folder("first", {{"D20240130__.vdr", dayBytes("30")}, {"D20240131__.vdr", dayBytes("31")}});
    const QString other = folder("other", {{"readme.txt", "text"}, {"D20240101__.dat", "data"}});
    QDir(other).mkpath(QStringLiteral("sub.vdr"));
    const QString second = folder("second", {{"D20240215__X.vdr", dayBytes("15")}});
    const QString bad = folder("bad names", {{"day.vdr", "x"}, {"D20240132__.vdr", "y"}});
    MainWindow w;
    ModalCloser closer;
    w.importFolder(first);
    QTRY_VERIFY(settled(w));
    child<QTextBrowser>(w, "eventtextBrowser")->setText(QStringLiteral("the day on display"));

    w.importFolder(other);
    QCOMPARE(closer.texts(), QStringList{mwTr("Please select have 'vdr' files folder")});
    QCOMPARE(dates(w), QStringList({"2024/01/30", "2024/01/31"}));
    QCOMPARE(child<QTextBrowser>(w, "eventtextBrowser")->toPlainText(), QStringLiteral("the day on display"));

    closer.clear();
    testsupport::writeFile(w.workingDirectory(), "stray.txt", "left over");
    w.importFolder(second);
    QCOMPARE(filesIn(w.workingDirectory()), QStringList{"D20240215__.vdr"});
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/02/15"));
    QTRY_VERIFY(settled(w));

    w.importFolder(bad);
    QVERIFY(closer.texts().isEmpty());
    QVERIFY(dates(w).isEmpty() && dateLabel(w).isEmpty());
    QVERIFY(QFileInfo(w.workingDirectory()).isDir() && filesIn(w.workingDirectory()).isEmpty());
}

// A copy that runs out of room: the file size limit stands in for a full disk. The day is
// reported, logged in red and left out of the list; the other days import.
void TestImport::failedCopyIsReported()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    const QString dir = folder("full disk", {{"D20240130__.vdr", dayBytes("30")},
                                             {"D20240131__big.vdr", vdrenc::sampleDay(QDate(2024, 1, 31))},
                                             {"D20240201__.vdr", dayBytes("01")}});
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    w.importFolder(dir);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QCOMPARE(closer.texts().size(), 1);
    QCOMPARE(closer.texts().first(), mwTr("These days could not be imported:") +
                                         QStringLiteral("\n2024/01/31  (D20240131__big.vdr)"));
    QCOMPARE(dates(w), QStringList({"2024/01/30", "2024/02/01"}));
    QCOMPARE(filesIn(w.workingDirectory()), QStringList({"D20240130__.vdr", "D20240201__.vdr"}));
    QVERIFY2(log(w).contains(QStringLiteral("Copy failed: ") + dir + QStringLiteral("/D20240131__big.vdr")),
             qPrintable(log(w)));
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
#endif
}

void TestImport::daySelection()
{
    const QString dir =
        folder("select", {{"D20240130__.vdr", dayBytes("30")}, {"D20240131__.vdr", dayBytes("31")}});
    MainWindow w;
    ModalCloser closer;
    w.importFolder(dir);
    QTRY_VERIFY(settled(w));
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    auto *box = child<QComboBox>(w, "date_comboBox");

    // Entries without a file, or without a date, do nothing at all.
    box->addItem(QStringLiteral("2024/02/01"));
    box->addItem(QStringLiteral("not a date"));
    DebugCapture debug;
    for (int index : {2, 3}) {
        box->setCurrentIndex(index);
        QTest::qWait(150);
        QCOMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    }
    QCOMPARE(countLines(debug.lines(), "on_date_comboBox_currentIndexChanged"), 0);

    box->setCurrentIndex(1);
    QCOMPARE(w.waitingOverlay()->text(), mwTr("Opening file, please wait....."));
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/31"));
}

void TestImport::tarTwoDaysAtTopLevel()
{
    // A folder name with a blank and a quote reaches the archiver unharmed.
    const QString dir = tmp.path() + QStringLiteral("/my \"days\" folder");
    const QString archive =
        testsupport::writeFile(dir, "D20240131__A.tar",
                               tartest::archive({tartest::file("D20240131__A.vdr", dayBytes("31")),
                                                 tartest::file("D20240130__A.vdr", dayBytes("30")),
                                                 tartest::file("notes.txt", "x")}));
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    DebugCapture debug;
    w.importTarArchive(archive);
    QCOMPARE(w.tarArchivePath(), archive);
    QVERIFY(w.waitingOverlay()->isVisible());
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
    QTRY_VERIFY(settled(w));
    QVERIFY2(closer.texts().isEmpty(), qPrintable(closer.texts().join('|')));
    QCOMPARE(dates(w), QStringList({"2024/01/30", "2024/01/31"}));
    QCOMPARE(readFile(w.workingDirectory() + "/D20240131__.vdr"), dayBytes("31"));
    QVERIFY(w.tarArchivePath().isEmpty());
    // Opening the first day cleared the log page and wrote that day's lines.
    QVERIFY2(log(w).startsWith(QStringLiteral("D20240130__.vdr")), qPrintable(log(w)));
    const QString command =
        QStringLiteral("\" x \"") + archive + QStringLiteral("\" -ttar -y -o") + w.archiveDirectory();
    const QStringList lines = debug.lines();
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [&](const QString &l) { return l.startsWith('"') && l.endsWith(command); }),
             qPrintable(lines.join('\n')));
}

void TestImport::tarFilesInSubFolder()
{
    const QString archive =
        testsupport::writeFile(tmp.path() + "/sub", "D20240131__A.tar",
                               tartest::archive({tartest::file("days/D20240130__A.vdr", dayBytes("30")),
                                                 tartest::file("days/D20240131__A.vdr", dayBytes("31"))}));
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    w.importTarArchive(archive);
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Please select have 'vdr' files folder")});
    QTRY_VERIFY(settled(w));
    QVERIFY(dates(w).isEmpty());
    QCOMPARE(log(w), QStringLiteral("***Tar***D20240131__A.tar"));
    QVERIFY(QFileInfo::exists(w.archiveDirectory() + "/days/D20240131__A.vdr"));
}

void TestImport::tarBadNamesRefusedBeforeArchiver_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    // English source texts: the catalogue is installed only once a window exists
    // clang-format off
    QTest::newRow("one piece") << "archive.tar" << "Tar File name formate error";
    QTest::newRow("31 February") << "D20240231__A.tar" << "File name formate error";
    // clang-format on
}

void TestImport::tarBadNamesRefusedBeforeArchiver()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    const QString archive =
        testsupport::writeFile(tmp.path() + "/names/" + QTest::currentDataTag(), name,
                               tartest::archive({tartest::file("D20240131__A.vdr", dayBytes("31"))}));
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    DebugCapture debug;
    w.importTarArchive(archive);
    QTRY_COMPARE(closer.texts(), QStringList{mwTr(message.toUtf8().constData())});
    QTRY_VERIFY(settled(w));
    QCOMPARE(log(w), QStringLiteral("***Tar***") + name);
    QVERIFY(!QFileInfo::exists(w.archiveDirectory()));
    QCOMPARE(countLines(debug.lines(), " x "), 0);
}

void TestImport::tarCorruptArchive()
{
    const QString archive =
        testsupport::writeFile(tmp.path() + "/corrupt", "D20240131__A.tar", QByteArray(2000, '\x42'));
    MainWindow w;
    ModalCloser closer;
    showLogPage(w);
    w.importTarArchive(archive);
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Open Tar File error")});
    QTRY_VERIFY(settled(w));
    QCOMPARE(log(w).split('\n').value(1), QStringLiteral("7za error code:2"));
}

void TestImport::tarMissingArchiver()
{
    const QString archive =
        testsupport::writeFile(tmp.path() + "/no archiver", "D20240131__A.tar",
                               tartest::archive({tartest::file("D20240131__A.vdr", dayBytes("31"))}));
    const QString emptyBin = tmp.path() + "/empty bin";
    QDir().mkpath(emptyBin);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", emptyBin.toLocal8Bit());
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    w.importTarArchive(archive);
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Open Tar File error")});
    qputenv("PATH", path);
    const QStringList lines = log(w).split('\n');
    QCOMPARE(lines.value(1), QStringLiteral("7za error code:-2"));
    QVERIFY2(lines.value(2).contains(QStringLiteral("no archiver")), qPrintable(log(w)));
    QVERIFY(dates(w).isEmpty());
}

void TestImport::tarRefusedArchives_data()
{
    const QByteArray outside = (tmp.path() + "/outside").toUtf8();
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("entries leading out")
        << tartest::archive({tartest::file("D20240130__A.vdr", dayBytes("30")),
                             tartest::link("D20240131__A.vdr", "/etc/hostname"),
                             tartest::link("evil", outside), tartest::file("evil/D20240201__.vdr", "pwn"),
                             tartest::file("../../../../outside/dot.vdr", "dot"),
                             tartest::file(outside + "/abs.vdr", "abs")})
        << "Refused archive entry outside the archive directory: evil";
    QTest::newRow("day file over 32 MiB")
        << tartest::archive({tartest::file("D20240130__A.vdr", dayBytes("30")),
                             tartest::sparse("D20240131__A.vdr", qint64(50) << 20)})
        << "Refused archive entry larger than 33554432 bytes: D20240131__A.vdr";
    QTest::newRow("3 GiB in all") << tartest::archive({tartest::sparse("blob", qint64(3) << 30)})
                                  << "Refused archive: it unpacks to 3221225472 bytes, more than the";
}

void TestImport::tarRefusedArchives()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, logLine);
    const QString outside = tmp.path() + "/outside";
    QDir().mkpath(outside);
    const QString path = testsupport::writeFile(tmp.path() + "/refused/" + QTest::currentDataTag(),
                                                "D20240131__A.tar", archive);
    MainWindow w;
    showLogPage(w);
    ModalCloser closer;
    w.importTarArchive(path);
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Open Tar File error")});
    QTRY_VERIFY(settled(w));
    QVERIFY(testsupport::fileTree(outside).isEmpty());
    QVERIFY(!QFileInfo::exists(w.archiveDirectory()));
    QVERIFY(dates(w).isEmpty());
    QVERIFY2(log(w).contains('\n' + logLine), qPrintable(log(w)));
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
