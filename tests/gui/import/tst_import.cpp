// Importing day files. The core: which names give a day, the archiver's listing, running the
// archiver safely (argument list, failures, a hanging archiver, links left behind) and the working
// directories. The main window: folder and tar archive import and the date list, with real files,
// real archives and the real console archiver; each archive runs through the core and the window.
#include "core/import/dayimport.h"
#include "core/platform/platform.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"

#include "support/tarwriter.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTextBrowser>
#include <QtTest>

#include <limits>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using dayimport::UnpackResult;
using testsupport::child;
using testsupport::DebugCapture;
using testsupport::fileTree;
using testsupport::ModalCloser;
using testsupport::mwTr;
using testsupport::readFile;

namespace {

// A small, valid day with one fault record at 08:mm, so that its bytes tell which file it came
// from and an opened day shows text on the fault page.
QByteArray dayBytes(int minute)
{
    using vdrenc::stamp;
    return vdrenc::container(
        {{vdrenc::FaultEventId, "DT_ERR_DATA",
          vdrenc::faultEventBlock(
              {{'1', stamp(2024, 1, 30, 8, minute, 0), stamp(2024, 1, 30, 8, minute, 30)}}, {})}});
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void archiveListing_data();
    void archiveListing();
    void standInArchivers_data();
    void standInArchivers();
    void workingDirectories();
    void folderImports();
    void failedCopyIsReported();
    void tarArchives_data();
    void tarArchives();

private:
    static int countLines(const QStringList &lines, const QString &piece)
    {
        return int(
            std::count_if(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(piece); }));
    }
    static QStringList dates(MainWindow &w)
    {
        QStringList items;
        auto *box = child<QComboBox>(w, "date_comboBox");
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    static QString dateLabel(MainWindow &w) { return child<QLabel>(w, "date_value")->text(); }
    static QString logText(MainWindow &w)
    {
        return child<QTextBrowser>(w, "debugtextBrowser")->toPlainText();
    }
    // The deferred parse has run and the overlay is gone.
    static bool settled(MainWindow &w) { return !w.waitingOverlay() || !w.waitingOverlay()->isVisible(); }
    // Writes a file below the temporary directory; returns its full path.
    QString write(const QString &relativePath, const QByteArray &data)
    {
        const QFileInfo info(tmp.filePath(relativePath));
        return testsupport::writeFile(info.absolutePath(), info.fileName(), data);
    }
    QString folder(const QString &name, const QMap<QString, QByteArray> &files)
    {
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            write(name + QLatin1Char('/') + it.key(), it.value());
        return tmp.filePath(name);
    }
    QString script(const QString &relativePath, const QByteArray &text)
    {
        const QString path = write(relativePath, "#!/bin/sh\n" + text);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir tmp;
};

// --- The core ---

// What the import makes of a name: the day it gives as a file name, and whether, as an entry
// of an archive, it stays inside the directory it is unpacked into.
void TestImport::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("safe");
    QTest::newRow("two pieces") << "D20240131_.vdr" << QDate() << true;
    QTest::newRow("29 February of a leap year") << "D20240229__.vdr" << QDate(2024, 2, 29) << true;
    QTest::newRow("31 February") << "D20240231__A.vdr" << QDate() << true;
    QTest::newRow("month 13") << "D20241331__.vdr" << QDate() << true;
    QTest::newRow("seven digits") << "D2024012__.vdr" << QDate() << true;
    QTest::newRow("nine digits") << "D202401311__.vdr" << QDate() << true;
    QTest::newRow("lower-case d") << "d20240128__A.vdr" << QDate() << true;
    QTest::newRow("sign inside") << "D+2024013__.vdr" << QDate() << true;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("D２０２４0131__.vdr") << QDate() << true;
    QTest::newRow("dots in a name") << "a..b/..c" << QDate() << true;
    QTest::newRow("absolute") << "/etc/passwd" << QDate() << false;
    QTest::newRow("drive") << "C:x.vdr" << QDate() << false;
    QTest::newRow("inner dot-dot") << "a/../../x.vdr" << QDate() << false;
    QTest::newRow("backslash dot-dot") << "a\\..\\..\\x.vdr" << QDate() << false;
    QTest::newRow("empty") << "" << QDate() << false;
}

void TestImport::names()
{
    QFETCH(QString, name);
    QFETCH(QDate, day);
    QFETCH(bool, safe);
    QCOMPARE(dayimport::importableDay(name), day);
    QCOMPARE(dayimport::isSafeEntryPath(name), safe);
}

void TestImport::archiveListing_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QStringList>("refused"); // the unsafe entries, else the oversized day files
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("refusal");
    // The archiver's own header: its "Path" is the archive's (absolute) path, not an entry.
    const QByteArray head = "7-Zip 16.02\n\nListing archive: /home/u/D20240131__A.tar\n\n--\n"
                            "Path = /home/u/D20240131__A.tar\nType = tar\nPhysical Size = 99999999999\n\n"
                            "----------\n";
    const QByteArray file = "Path = D20240131__.vdr\nFolder = -\nSize = 6\nPacked Size = 512\n"
                            "Mode = -rw-r--r--\nSymbolic Link = \nHard Link = \n\n";
    const qint64 dayMax = dayimport::kMaxDayFileSize;
    const qint64 unknown = std::numeric_limits<qint64>::max();
    using R = dayimport::Refusal;
    auto row = [](const char *tag, const QByteArray &listing, const QStringList &refused, qint64 total,
                  R refusal, qint64 freeBytes = -1) {
        QTest::newRow(tag) << listing << freeBytes << refused << total << int(refusal);
    };
    auto sized = [](const QByteArray &path, qint64 n) {
        return "Path = " + path + "\nSize = " + QByteArray::number(n) + "\n\n";
    };
    row("plain files", head + file + "Path = sub\nFolder = +\n\n" + sized("sub/x.vdr", 10), {}, 16, R::None);
    row("empty archive", head, {}, 0, R::None);
    row("no line of dashes", sized("/abs", 5) + file, {}, unknown, R::TooLarge);
    row("windows line ends", head + "Path = ../x\r\nSize = 1\r\nMode = -rw-r--r--\r\n", {"../x"}, 1,
        R::UnsafeEntries);
    row("symbolic link", head + file + "Path = evil\nSize = 4\nMode = lrwxrwxrwx\nSymbolic Link = /etc\n",
        {"evil"}, 10, R::UnsafeEntries);
    row("hard link", head + "Path = h\nSize = 0\nMode = -rw-r--r--\nHard Link = /etc/passwd\n", {"h"}, 0,
        R::UnsafeEntries);
    // A later empty "Symbolic Link = " line (as a crafted name could add) clears nothing.
    row("mark not cleared",
        head + "Path = evil\nSize = 0\nSymbolic Link = /etc\nSymbolic Link = \nMode = -rw-r--r--\n", {"evil"},
        0, R::UnsafeEntries);
    row("absolute and dot-dot", head + file + sized("/abs", 0) + sized("a/../../b", 0), {"/abs", "a/../../b"},
        6, R::UnsafeEntries);
    row("day file at the bound", head + sized("D20240131__.vdr", dayMax), {}, dayMax, R::None);
    row("day file over the bound", head + file + sized("d/X.VDR", dayMax + 1), {"d/X.VDR"}, dayMax + 7,
        R::OversizedDayFiles);
    row("other file over the day bound", head + sized("notes.pdf", dayMax + 1), {}, dayMax + 1, R::None);
    row("unreadable day size", head + "Path = D20240131__.vdr\nSize = 12x\n", {"D20240131__.vdr"}, unknown,
        R::OversizedDayFiles);
    // Of two sizes of one entry the larger counts.
    row("two sizes", head + sized("D20240131__.vdr", dayMax + 1) + "Size = 1\n", {"D20240131__.vdr"},
        dayMax + 1, R::OversizedDayFiles);
    row("over 2 GiB in all", head + sized("a", 1610612736) + sized("b", 1610612736), {}, 3221225472,
        R::TooLarge);
    row("2 GiB exactly", head + sized("a", 2147483648), {}, 2147483648, R::None);
    row("within free space", head + file, {}, 6, R::None, 6);
    row("beyond free space", head + file, {}, 6, R::TooLarge, 5);
    row("file without a size", head + "Path = a.bin\nFolder = -\n", {}, unknown, R::TooLarge);
    row("sum beyond 64 bits", head + sized("a", 9000000000000000000) + sized("b", 9000000000000000000), {},
        unknown, R::TooLarge);
}

void TestImport::archiveListing()
{
    QFETCH(QByteArray, listing);
    QFETCH(qint64, freeBytes);
    QFETCH(QStringList, refused);
    QFETCH(qint64, total);
    QFETCH(int, refusal);
    const dayimport::ArchiveListing read = dayimport::readArchiveListing(listing);
    QCOMPARE(read.unsafeEntries.isEmpty() ? read.oversizedDayFiles : read.unsafeEntries, refused);
    QCOMPARE(read.totalSize, total);
    QCOMPARE(int(dayimport::refusalOf(read, freeBytes)), refusal);
}

// Stand-in archivers (shell scripts) log exactly which arguments arrive, whatever the names of
// the archive and the target hold, and act as careless, missing, hanging or failing archivers.
// Like an older archiver they know no -ba, and they write the full listing, header included.
void TestImport::standInArchivers_data()
{
    QTest::addColumn<QByteArray>("body"); // of the script after it logged its arguments; empty: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("runs"); // listing and extraction
    QTest::addColumn<QStringList>("removedLinks");
    const QByteArray listing =
        "if [ \"$1\" = l ]; then\n"
        "  printf 'Listing archive: %s\\n--\\nPath = %s\\nType = tar\\n\\n' \"$4\" \"$4\"\n"
        "  printf -- '----------\\nPath = D20240131__.vdr\\nSize = 4\\n'\n"
        "  exit 0\n"
        "fi\n";
    QTest::newRow("leaves links") << listing + "out=\"${5#-o}\"\nmkdir -p \"$out/sub\"\n"
                                               "echo day > \"$out/D20240131__.vdr\"\nln -s / \"$out/root\"\n"
                                               "ln -s /etc/hostname \"$out/sub/D20240130__.vdr\"\n"
                                  << 0 << 2 << QStringList{"root", "sub/D20240130__.vdr"};
    QTest::newRow("cannot start") << QByteArray() << -2 << 0 << QStringList();
    QTest::newRow("hangs") << QByteArray("exec sleep 30\n") << -1 << 1 << QStringList(); // stopped in time
    QTest::newRow("fails unpacking") << listing + "exit 7\n" << 7 << 2 << QStringList();
}

void TestImport::standInArchivers()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in archiver is a shell script");
#endif
    QFETCH(QByteArray, body);
    QFETCH(int, exitCode);
    QFETCH(int, runs);
    QFETCH(QStringList, removedLinks);
    const QString dir = QStringLiteral("archivers/") + QLatin1String(QTest::currentDataTag());
    const QString argsFile = tmp.filePath(dir + "/args.txt");
    const QString archiver =
        body.isEmpty()
            ? tmp.filePath(dir + "/no-such-7za")
            : script(dir + "/7za", "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + argsFile.toUtf8() +
                                       "'; [ \"$a\" = -ba ] && exit 9; done\n" + body);
    const QString archive = tmp.filePath(dir + "/a \"b\" $(touch pwned) D20240131__A.tar");
    const QString target = tmp.filePath(dir + "/out; rm -rf x/ZtTar");
    QElapsedTimer clock;
    clock.start();
    const UnpackResult result =
        dayimport::unpackArchive(archiver, archive, target, exitCode == -1 ? 300 : 60000);
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(result.status, exitCode ? UnpackResult::ArchiverFailed : UnpackResult::Unpacked);
    QCOMPARE(result.exitCode, exitCode);
    const QStringList arguments{"l", "-slt", "-ttar", archive, "x", archive, "-ttar", "-y", "-o" + target};
    if (runs > 0)
        QCOMPARE(QString::fromUtf8(readFile(argsFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 arguments.mid(0, runs == 1 ? 4 : 9));
    QVERIFY(!QFileInfo::exists(QDir::currentPath() + QStringLiteral("/pwned")));
    QCOMPARE(result.removedLinks, removedLinks);
    if (!removedLinks.isEmpty())
        QCOMPARE(fileTree(target), QStringList({"D20240131__.vdr", "sub"}));
}

// The working directories live under the local data. Removing one takes only a directory named
// ZtTemp or ZtTar, and deletes its own content: never what a link inside or the link itself leads
// to, nor a neighbour with a similar name.
void TestImport::workingDirectories()
{
    const QString work = platform::workingDirectoryPath();
    QVERIFY(work.endsWith(QLatin1String("/ZtTemp")));
    QVERIFY(platform::archiveDirectoryPath().endsWith(QLatin1String("/ZtTar")));
#ifndef Q_OS_WIN
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty())
        QCOMPARE(QFileInfo(work).absolutePath(), QDir::cleanPath(dataHome));
#endif
    // The Windows directories take the login name as text: a Chinese name (from a Big5
    // system, say) stays whole; an unreadable name leaves its segment empty.
    const QString chinese = QString::fromUtf8("\xe9\x99\xb3\xe5\xa4\xa7\xe6\x96\x87");
    QCOMPARE(platform::windowsLocalDataPath(chinese, QStringLiteral("ZtTemp")),
             QStringLiteral("C:/Users/") + chinese + QStringLiteral("/AppData/Local/ZtTemp"));
    QCOMPARE(platform::windowsLocalDataPath(QString(), QStringLiteral("ZtTar")),
             QStringLiteral("C:/Users//AppData/Local/ZtTar"));

    for (const char *name : {"remove/ZtTempX", "remove/MyZtTar", "remove/zttemp"}) {
        const QString keep = write(QLatin1String(name) + QStringLiteral("/keep.txt"), "x");
        QVERIFY(!platform::removeWorkingDirectory(QFileInfo(keep).absolutePath()));
        QVERIFY(QFile::exists(keep));
    }
    QVERIFY(!platform::removeWorkingDirectory(QString()));
    QVERIFY(!platform::removeWorkingDirectory(QStringLiteral("/")));

    const QString precious = write(QStringLiteral("remove/outside/precious.vdr"), "x");
    const QString outside = QFileInfo(precious).absolutePath();
    write(QStringLiteral("remove/ZtTemp/sub/deep.vdr"), "x");
    const QString temp = tmp.filePath(QStringLiteral("remove/ZtTemp"));
    QVERIFY(QFile::link(outside, temp + QStringLiteral("/linked")));
    const QString neighbour = write(QStringLiteral("remove/ZtTemp.vdr"), "x");
    QVERIFY(platform::removeWorkingDirectory(temp + QLatin1Char('/')));
    QVERIFY(!QFileInfo::exists(temp));
    QVERIFY(QFile::exists(precious) && QFile::exists(neighbour));
    QVERIFY(platform::removeWorkingDirectory(temp)); // a missing directory counts as removed

    const QString link = tmp.filePath(QStringLiteral("remove/ZtTar"));
    QVERIFY(QFile::link(outside, link));
    QVERIFY(platform::removeWorkingDirectory(link));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFile::exists(precious));
}

// --- The main window ---

// One window through several folder imports. First the days in name order (case aside) with
// the first file of a day, linked files followed, folders and other names skipped; copies under
// the normalised name; the first day opened once. Then choosing a day: entries without a file or
// without a date do nothing; a file that vanished before its deferred read is reported and leaves
// no page with the other day's records; another day still opens; the source stays untouched.
void TestImport::folderImports()
{
    const QString dir = folder("rules", {{"D20240131__a.vdr", dayBytes(31)},
                                         {"D20240131__B.vdr", dayBytes(32)},
                                         {"D20240130_A_B.vdr", dayBytes(30)},
                                         {"D20240127__.vdr", dayBytes(27)},
                                         {"d20240128__.vdr", dayBytes(28)},
                                         {"D20240129__A_B.vdr", dayBytes(29)},
                                         {"D20240126__A.txt", dayBytes(26)}});
    QDir(dir).mkpath(QStringLiteral("D20240102__.vdr"));
    QVERIFY(
        QFile::link(dir + QStringLiteral("/D20240127__.vdr"), dir + QStringLiteral("/D20240125__link.vdr")));
    const QStringList source = fileTree(dir);
    // An unpacked archive is listed without its links.
    QCOMPARE(dayimport::listFolder(dir, dayimport::Links::Skip).vdrFiles,
             QStringList({"D20240127__.vdr", "d20240128__.vdr", "D20240129__A_B.vdr", "D20240130_A_B.vdr",
                          "D20240131__a.vdr", "D20240131__B.vdr"}));

    MainWindow w;
    ModalCloser closer;
    DebugCapture debug;
    w.importFolder(dir);
    QCOMPARE(dates(w), QStringList({"2024/01/25", "2024/01/27", "2024/01/30", "2024/01/31", "2024/01/31"}));
    QCOMPARE(fileTree(w.workingDirectory()),
             QStringList({"D20240125__.vdr", "D20240127__.vdr", "D20240130__.vdr", "D20240131__.vdr"}));
    QCOMPARE(readFile(w.workingDirectory() + "/D20240131__.vdr"), dayBytes(31));
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/25"));
    QTRY_VERIFY(settled(w));
    QVERIFY(closer.texts().isEmpty());
    // The first day is opened once, after its file is in place.
    QCOMPARE(countLines(debug.lines(), "on_date_comboBox_currentIndexChanged"), 1);
    QCOMPARE(countLines(debug.lines(), "blockCnt :"), 1);

    auto *box = child<QComboBox>(w, "date_comboBox");
    auto *faults = child<QTextBrowser>(w, "eventtextBrowser");
    QVERIFY(!faults->toPlainText().isEmpty());
    box->addItem(QStringLiteral("2024/02/01"));
    box->addItem(QStringLiteral("not a date"));
    for (int index : {5, 6}) {
        box->setCurrentIndex(index);
        QTest::qWait(150);
        QCOMPARE(dateLabel(w), QStringLiteral("2024/01/25"));
    }
    QCOMPARE(countLines(debug.lines(), "on_date_comboBox_currentIndexChanged"), 1);

    box->setCurrentIndex(2);
    QCOMPARE(w.waitingOverlay()->text(), mwTr("Opening file, please wait....."));
    QVERIFY(QFile::remove(w.workingDirectory() + QStringLiteral("/D20240130__.vdr")));
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Can not open file")});
    QTRY_VERIFY(settled(w));
    QVERIFY(faults->toPlainText().isEmpty());
    QCOMPARE(box->count(), 7);

    closer.clear();
    box->setCurrentIndex(1);
    QTRY_VERIFY(!faults->toPlainText().isEmpty());
    QTRY_VERIFY(settled(w));
    QCOMPARE(dateLabel(w), QStringLiteral("2024/01/27"));
    QVERIFY(closer.texts().isEmpty());
    QCOMPARE(fileTree(dir), source);

    // A folder without day files changes nothing; the next import replaces the working files
    // (stray ones included); one whose every name is skipped empties the list.
    const QString other = folder("other", {{"readme.txt", "text"}, {"D20240101__.dat", "data"}});
    QDir(other).mkpath(QStringLiteral("sub.vdr"));
    w.importFolder(other);
    QCOMPARE(closer.texts(), QStringList{mwTr("Please select have 'vdr' files folder")});
    QCOMPARE(box->count(), 7);
    QVERIFY(!faults->toPlainText().isEmpty());
    closer.clear();
    testsupport::writeFile(w.workingDirectory(), "stray.txt", "left over");
    w.importFolder(folder("second", {{"D20240215__X.vdr", dayBytes(15)}}));
    QCOMPARE(fileTree(w.workingDirectory()), QStringList{"D20240215__.vdr"});
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/02/15"));
    QTRY_VERIFY(settled(w));
    w.importFolder(folder("bad names", {{"day.vdr", "x"}, {"D20240132__.vdr", "y"}}));
    QVERIFY(closer.texts().isEmpty());
    QVERIFY(dates(w).isEmpty() && dateLabel(w).isEmpty());
    QVERIFY(QFileInfo(w.workingDirectory()).isDir() && fileTree(w.workingDirectory()).isEmpty());
}

// A copy that runs out of room: the file size limit stands in for a full disk. The day is
// reported, logged in red and left out of the list, without a partial file; the other days
// import.
void TestImport::failedCopyIsReported()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    const QString dir = folder("full disk", {{"D20240130__.vdr", dayBytes(30)},
                                             {"D20240131__big.vdr", vdrenc::sampleDay(QDate(2024, 1, 31))},
                                             {"D20240201__.vdr", dayBytes(1)}});
    MainWindow w;
    w.findChild<QAction *>(QStringLiteral("actionDebug"))->trigger();
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

    QCOMPARE(closer.texts(), QStringList{mwTr("These days could not be imported:") +
                                         QStringLiteral("\n2024/01/31  (D20240131__big.vdr)")});
    QCOMPARE(dates(w), QStringList({"2024/01/30", "2024/02/01"}));
    QCOMPARE(fileTree(w.workingDirectory()), QStringList({"D20240130__.vdr", "D20240201__.vdr"}));
    const QString line = QStringLiteral("Copy failed: %1/D20240131__big.vdr -> %2/D20240131__.vdr: ")
                             .arg(dir, w.workingDirectory());
    QVERIFY2(
        logText(w).contains(QRegularExpression(QRegularExpression::escape(line) + QStringLiteral("\\S"))),
        qPrintable(logText(w)));
    QTRY_COMPARE(dateLabel(w), QStringLiteral("2024/01/30"));
#endif
}

// Each archive is unpacked by the core into a target below a folder with blanks and a quote,
// then imported on a window. A refused or failing archive writes nothing anywhere; the window
// says why on its log page.
void TestImport::tarArchives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<bool>("noArchiver");
    QTest::addColumn<int>("status"); // of the core; -1: the window refuses the name before the archiver
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QStringList>("unpacked"); // the core's tree
    QTest::addColumn<QString>("message");      // the window's message box, source text
    QTest::addColumn<QStringList>("log");      // starts of the log page's lines
    QTest::addColumn<QStringList>("days");     // the date list

    const QByteArray outside = tmp.filePath(QStringLiteral("outside")).toUtf8();
    const QString tarLine = QStringLiteral("***Tar***D20240131__A.tar");
    const QString error = QStringLiteral("Open Tar File error");
    const QString leadsOut = QStringLiteral("Refused archive entry outside the archive directory: ");
    using tartest::archive;
    using tartest::file;
    auto row = [](const char *tag, const QByteArray &archive, int status, const QStringList &refused,
                  const QStringList &unpacked, const QString &message, const QStringList &log,
                  const QStringList &days = {}, const QString &name = "D20240131__A.tar",
                  bool noArchiver = false) {
        QTest::newRow(tag) << name << archive << noArchiver << status << refused << unpacked << message << log
                           << days;
    };
    const QByteArray oneDay = archive({file("D20240131__A.vdr", dayBytes(31))});
    // A ZIP named like a tar archive: the archiver would unpack it if it guessed the type.
    const QString zipDir = tmp.filePath(QStringLiteral("zip"));
    write(QStringLiteral("zip/D20240130__A.vdr"), QByteArray(100000, '\0'));
    QProcess zip;
    zip.setWorkingDirectory(zipDir);
    zip.start(platform::archiverProgram(), {"a", "-tzip", "day.zip", "D20240130__A.vdr"});
    QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);

    row("two days at the top level",
        archive({file("D20240131__A.vdr", dayBytes(31)), file("D20240130__A.vdr", dayBytes(30)),
                 file("notes.txt", "x")}),
        UnpackResult::Unpacked, {}, {"D20240130__A.vdr", "D20240131__A.vdr", "notes.txt"}, {},
        {"D20240130__.vdr"}, {"2024/01/30", "2024/01/31"}); // opening the day cleared the log page
    row("days in a subfolder",
        archive({file("days/D20240130__A.vdr", dayBytes(30)), file("days/D20240131__A.vdr", dayBytes(31))}),
        UnpackResult::Unpacked, {}, {"days", "days/D20240130__A.vdr", "days/D20240131__A.vdr"},
        "Please select have 'vdr' files folder", {tarLine});
    // Nothing to open: the overlay must still go.
    row("every name skipped", archive({file("day.vdr", "x"), file("D20240132__.vdr", "y")}),
        UnpackResult::Unpacked, {}, {"D20240132__.vdr", "day.vdr"}, {}, {});
    row("absolute", archive({file("D20240130__A.vdr", "ok"), file(outside + "/abs.vdr", "abs")}),
        UnpackResult::UnsafeEntries, {outside + "/abs.vdr"}, {}, error,
        {tarLine, leadsOut + outside + "/abs.vdr"});
    row("inner dot-dot", archive({file("a/../../../../../outside/dot.vdr", "dot")}),
        UnpackResult::UnsafeEntries, {"a/../../../../../outside/dot.vdr"}, {}, error,
        {tarLine, leadsOut + "a/../../../../../outside/dot.vdr"});
    row("relative link out",
        archive({tartest::link("up", "../../../../outside"), file("up/D20240201__.vdr", "x")}),
        UnpackResult::UnsafeEntries, {"up"}, {}, error, {tarLine, leadsOut + "up"});
    row("hard link", archive({tartest::link("h.vdr", outside + "/secret", '1')}), UnpackResult::UnsafeEntries,
        {"h.vdr"}, {}, error, {tarLine, leadsOut + "h.vdr"});
    // Sparse entries: a 2 KiB archive that would write 32 MiB and a byte, or 3 GiB.
    row("day file over 32 MiB",
        archive({file("D20240130__A.vdr", "ok"), tartest::sparse("D20240131__A.vdr", (32 << 20) + 1)}),
        UnpackResult::OversizedDayFiles, {"D20240131__A.vdr"}, {}, error,
        {tarLine, "Refused archive entry larger than 33554432 bytes: D20240131__A.vdr"});
    row("3 GiB in all", archive({tartest::sparse("blob.bin", qint64(3) << 30)}), UnpackResult::TooLarge, {},
        {}, error, {tarLine, "Refused archive: it unpacks to 3221225472 bytes, more than the"});
    row("ZIP named tar", readFile(zipDir + QStringLiteral("/day.zip")), UnpackResult::ArchiverFailed, {}, {},
        error, {tarLine, "7za error code:2"});
    row("no archiver", oneDay, UnpackResult::ArchiverMissing, {}, {}, error,
        {tarLine, "7za error code:-2", "no archiver"}, {}, "D20240131__A.tar", true);
    // Refused before anything is cleared: the day opened before stays.
    row("name of one piece", oneDay, -1, {}, {}, "Tar File name formate error", {"***Tar***archive.tar"},
        {"2024/01/31"}, "archive.tar");
    row("31 February", oneDay, -1, {}, {}, "File name formate error", {"***Tar***D20240231__A.tar"},
        {"2024/01/31"}, "D20240231__A.tar");
}

void TestImport::tarArchives()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, archive);
    QFETCH(bool, noArchiver);
    QFETCH(int, status);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, unpacked);
    QFETCH(QString, message);
    QFETCH(QStringList, log);
    QFETCH(QStringList, days);
    const QString outside = tmp.filePath(QStringLiteral("outside"));
    write(QStringLiteral("outside/secret"), "secret");
    const QStringList outsideBefore = fileTree(outside);
    const QString work = tmp.filePath(QStringLiteral("my \"odd\" -dir/") + QTest::currentDataTag());
    const QString path = testsupport::writeFile(work, name, archive);
    const QString emptyBin = tmp.filePath(QStringLiteral("empty bin"));
    QDir().mkpath(emptyBin);
    const QByteArray searchPath = qgetenv("PATH");
    if (noArchiver)
        qputenv("PATH", emptyBin.toLocal8Bit());
    const QString archiver = platform::archiverProgram();

    if (status >= 0) {
        const QString target = work + QStringLiteral("/out dir/ZtTar");
        const UnpackResult result = dayimport::unpackArchive(archiver, path, target);
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.refusedEntries, refused);
        // Shown as the field logs show it: program and archive quoted, the target right after -o.
        QCOMPARE(result.commandText, QLatin1Char('"') + (noArchiver ? QStringLiteral("7za") : archiver) +
                                         QStringLiteral("\" x \"") + path + QStringLiteral("\" -ttar -y -o") +
                                         target);
        QCOMPARE(fileTree(unpacked.isEmpty() ? work : target),
                 unpacked.isEmpty() ? QStringList{name} : unpacked);
        QCOMPARE(fileTree(outside), outsideBefore);
    }

    MainWindow w;
    w.setLanguage(MainWindow::Language::English); // in Chinese the two name errors read alike
    ModalCloser closer;
    const QString open = write(QStringLiteral("open/D20240131__A.vdr"), dayBytes(31));
    if (status < 0)
        w.readVdrFile(open);
    w.findChild<QAction *>(QStringLiteral("actionDebug"))->trigger();
    DebugCapture debug;
    w.importTarArchive(path);
    QCOMPARE(w.tarArchivePath(), status < 0 ? QString() : path);
    QCOMPARE(!settled(w), status >= 0);
    QVERIFY(status >= 0 || w.displayedDayFile() == open);
    const QString example = // the refused name's second line
        status < 0 ? "\n" + mwTr("The name must look like %1").arg("D20240131__.tar") : QString();
    QTRY_VERIFY(w.tarArchivePath().isEmpty());
    qputenv("PATH", searchPath);
    if (!days.isEmpty())
        QTRY_COMPARE(dateLabel(w), days.first());
    QTRY_VERIFY(settled(w));
    QCOMPARE(closer.texts(),
             message.isEmpty() ? QStringList() : QStringList{mwTr(message.toUtf8().constData()) + example});
    QCOMPARE(dates(w), days);
    const QStringList lines = logText(w).split(QLatin1Char('\n'));
    for (int i = 0; i < log.size(); ++i)
        QVERIFY2(lines.value(i).startsWith(log.at(i)), qPrintable(logText(w)));
    if (!message.isEmpty() && status != UnpackResult::ArchiverFailed) // its own words may take lines
        QCOMPARE(lines.size(), log.size());
    QCOMPARE(fileTree(outside), outsideBefore);
    QCOMPARE(QFileInfo::exists(w.archiveDirectory()), status == UnpackResult::Unpacked);
    const QString command =
        QStringLiteral("\" x \"") + path + QStringLiteral("\" -ttar -y -o") + w.archiveDirectory();
    QCOMPARE(countLines(debug.lines(), command), status < 0 ? 0 : 1);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
