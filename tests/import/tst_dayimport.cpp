// The import core: which names give a day, listing and copying, running the archiver safely
// (argument list, refused entries and sizes, links, exit codes, a hanging archiver), and where the
// working directories live and that removing one never touches anything else.
#include "app/platform.h"
#include "import/dayimport.h"

#include "support/testsupport.h"
#include "tarwriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using testsupport::readFile;

using dayimport::UnpackResult;

namespace {

QString writeBytes(const QString &path, const QByteArray &data)
{
    return testsupport::writeFile(QFileInfo(path).absolutePath(), QFileInfo(path).fileName(), data);
}

} // namespace

class TestDayImport : public QObject
{
    Q_OBJECT

private slots:
    void importableDay_data();
    void importableDay();
    void safeEntryPaths_data();
    void safeEntryPaths();
    void archiveListing_data();
    void archiveListing();
    void listingOrderAndLinks();
    void copyNeverOverwrites();
    void realArchiverIntoAwkwardPaths();
    void hostileArchivesRefused_data();
    void hostileArchivesRefused();
    void corruptAndMissingArchives();
    void fakeArchiverArgumentsAndLinks();
    void hangingArchiverIsStopped();
    void directoriesUnderLocalData();
    void removeRefusesOtherNames_data();
    void removeRefusesOtherNames();
    void removeStaysInside();

private:
    QTemporaryDir tmp;
};

void TestDayImport::importableDay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("day");
    QTest::newRow("two pieces") << "D20240131_.vdr" << QDate();
    QTest::newRow("29 February of a leap year") << "D20240229__.vdr" << QDate(2024, 2, 29);
    QTest::newRow("month 13") << "D20241331__.vdr" << QDate();
    QTest::newRow("nine digits") << "D202401311__.vdr" << QDate();
    QTest::newRow("sign inside") << "D+2024013__.vdr" << QDate();
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("D２０２４0131__.vdr") << QDate();
}

void TestDayImport::importableDay()
{
    QFETCH(QString, name);
    QFETCH(QDate, day);
    QCOMPARE(dayimport::importableDay(name), day);
}

void TestDayImport::safeEntryPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "D20240131__.vdr" << true;
    QTest::newRow("dots in a name") << "a..b/..c" << true;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("drive") << "C:x.vdr" << false;
    QTest::newRow("inner dot-dot") << "a/../../x.vdr" << false;
    QTest::newRow("backslash dot-dot") << "a\\..\\..\\x.vdr" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDayImport::safeEntryPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, safe);
    QCOMPARE(dayimport::isSafeEntryPath(path), safe);
}

void TestDayImport::archiveListing_data()
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

void TestDayImport::archiveListing()
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

void TestDayImport::listingOrderAndLinks()
{
    const QString dir = tmp.path() + QStringLiteral("/listing");
    for (const char *name :
         {"D20240131__b.vdr", "d20240130__.vdr", "D20240129__A_B.vdr", "notes.txt", "D20240101__a.vdr"})
        writeBytes(dir + QLatin1Char('/') + QLatin1String(name), "x");
    QDir(dir).mkpath(QStringLiteral("D20240102__.vdr")); // a folder, not a file
    QFile::link(dir + QStringLiteral("/D20240101__a.vdr"), dir + QStringLiteral("/D20240105__link.vdr"));

    dayimport::FolderListing all = dayimport::listFolder(dir, dayimport::Links::Follow);
    QCOMPARE(all.vdrFiles, QStringList({"D20240101__a.vdr", "D20240105__link.vdr", "D20240129__A_B.vdr",
                                        "d20240130__.vdr", "D20240131__b.vdr"}));
    QCOMPARE(all.days.size(), 3);
    QCOMPARE(all.days.at(1).name, QStringLiteral("D20240105__link.vdr"));

    const dayimport::FolderListing noLinks = dayimport::listFolder(dir, dayimport::Links::Skip);
    QVERIFY(!noLinks.vdrFiles.contains(QStringLiteral("D20240105__link.vdr")));
    QCOMPARE(noLinks.days.size(), 2);
}

void TestDayImport::copyNeverOverwrites()
{
    const QString dir = tmp.path() + QStringLiteral("/copy");
    const QString a = writeBytes(dir + QStringLiteral("/a.vdr"), "first");
    const QString b = writeBytes(dir + QStringLiteral("/b.vdr"), "second");
    const QString target = dir + QStringLiteral("/work/D20240131__.vdr");
    QDir().mkpath(dir + QStringLiteral("/work"));

    QCOMPARE(dayimport::copyDayFile(a, target).kind, dayimport::CopyResult::Copied);
    QCOMPARE(dayimport::copyDayFile(b, target).kind, dayimport::CopyResult::AlreadyThere);
    QCOMPARE(readFile(target), QByteArray("first"));

    const dayimport::CopyResult missing =
        dayimport::copyDayFile(dir + QStringLiteral("/gone.vdr"), dir + QStringLiteral("/work/D2.vdr"));
    QCOMPARE(missing.kind, dayimport::CopyResult::Failed);
    QVERIFY(!missing.error.isEmpty());
    QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/work/D2.vdr")));
}

void TestDayImport::realArchiverIntoAwkwardPaths()
{
    const QString archiver = platform::archiverProgram();
    QVERIFY2(!archiver.isEmpty(), "the console archiver is part of the build environment");
    // Blanks, a quote and a leading dash in both paths: each goes to the archiver whole.
    const QString base = tmp.path() + QStringLiteral("/my \"odd\" -dir");
    const QString archive = writeBytes(base + QStringLiteral("/-x D20240131__A.tar"),
                                       tartest::archive({tartest::file("D20240130__A.vdr", "day 30"),
                                                         tartest::file("D20240131__A.vdr", "day 31")}));
    const QString target = base + QStringLiteral("/out dir/ZtTar");
    const UnpackResult result = dayimport::unpackArchive(archiver, archive, target);
    QVERIFY2(result.ok(), qPrintable(result.archiverMessage));
    QCOMPARE(testsupport::fileTree(target), QStringList({"D20240130__A.vdr", "D20240131__A.vdr"}));
    QCOMPARE(readFile(target + QStringLiteral("/D20240131__A.vdr")), QByteArray("day 31"));
    // Shown as the field logs show it: program and archive quoted, the target right after -o.
    QCOMPARE(result.commandText, QLatin1Char('"') + archiver + QStringLiteral("\" x \"") + archive +
                                     QStringLiteral("\" -ttar -y -o") + target);
}

void TestDayImport::hostileArchivesRefused_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("badEntry");
    const QByteArray outside = QDir(tmp.path()).absoluteFilePath(QStringLiteral("outside")).toUtf8();
    const int unsafe = UnpackResult::UnsafeEntries;
    using tartest::archive;
    using tartest::file;
    // A ZIP named like a tar archive: the archiver would unpack it if it guessed the type.
    const QString zipDir = tmp.path() + QStringLiteral("/zip");
    writeBytes(zipDir + QStringLiteral("/D20240130__A.vdr"), QByteArray(100000, '\0'));
    QProcess zip;
    zip.setWorkingDirectory(zipDir);
    zip.start(platform::archiverProgram(), {"a", "-tzip", "day.zip", "D20240130__A.vdr"});
    QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);
    // clang-format off
    QTest::newRow("absolute") << archive({file("D20240130__A.vdr", "ok"), file(outside + "/abs.vdr", "abs")})
                              << unsafe << QString::fromUtf8(outside + "/abs.vdr");
    QTest::newRow("inner dot-dot") << archive({file("a/../../../outside/dot.vdr", "dot")})
                                   << unsafe << "a/../../../outside/dot.vdr";
    QTest::newRow("relative link out") << archive({tartest::link("up", "../../outside")}) << unsafe << "up";
    QTest::newRow("hard link") << archive({tartest::link("h.vdr", outside + "/secret", '1')})
                               << unsafe << "h.vdr";
    // Sparse entries: a 2 KiB archive that would write 33 MiB, or 3 GiB.
    QTest::newRow("day file over 32 MiB")
        << archive({file("D20240130__A.vdr", "ok"), tartest::sparse("D20240131__A.vdr", (32 << 20) + 1)})
        << int(UnpackResult::OversizedDayFiles) << "D20240131__A.vdr";
    QTest::newRow("3 GiB in all") << archive({tartest::sparse("blob.bin", qint64(3) << 30)})
                                  << int(UnpackResult::TooLarge) << QString();
    QTest::newRow("ZIP named tar") << readFile(zipDir + QStringLiteral("/day.zip"))
                                   << int(UnpackResult::ArchiverFailed) << QString();
    // clang-format on
}

void TestDayImport::hostileArchivesRefused()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, status);
    QFETCH(QString, badEntry);
    const QString outside = tmp.path() + QStringLiteral("/outside");
    QDir().mkpath(outside);
    writeBytes(outside + QStringLiteral("/secret"), "secret");
    const QStringList outsideBefore = testsupport::fileTree(outside);

    const QString work = tmp.path() + QStringLiteral("/hostile/") + QLatin1String(QTest::currentDataTag());
    const QString path = writeBytes(work + QStringLiteral("/D20240131__A.tar"), archive);
    const QString target = work + QStringLiteral("/a/b/ZtTar");
    const UnpackResult result = dayimport::unpackArchive(platform::archiverProgram(), path, target);
    QCOMPARE(int(result.status), status);
    if (!badEntry.isEmpty())
        QVERIFY2(result.refusedEntries.contains(badEntry), qPrintable(result.refusedEntries.join(", ")));
    QCOMPARE(testsupport::fileTree(outside), outsideBefore);
    QCOMPARE(testsupport::fileTree(work), QStringList{"D20240131__A.tar"});
}

void TestDayImport::corruptAndMissingArchives()
{
    const QString archiver = platform::archiverProgram();
    const QString dir = tmp.path() + QStringLiteral("/corrupt");
    const QString garbage = writeBytes(dir + QStringLiteral("/D20240131__A.tar"), QByteArray(700, '\x5a'));
    UnpackResult result = dayimport::unpackArchive(archiver, garbage, dir + QStringLiteral("/ZtTar"));
    QCOMPARE(result.status, UnpackResult::ArchiverFailed);
    QCOMPARE(result.exitCode, 2);

    result = dayimport::unpackArchive(QString(), garbage, dir + QStringLiteral("/ZtTar"));
    QCOMPARE(result.status, UnpackResult::ArchiverMissing);
    QCOMPARE(result.exitCode, -2);

    result =
        dayimport::unpackArchive(dir + QStringLiteral("/no-such-7za"), garbage, dir + QStringLiteral("/Z"));
    QCOMPARE(result.status, UnpackResult::ArchiverFailed);
    QCOMPARE(result.exitCode, -2);
}

// A stand-in archiver (a shell script) shows exactly which arguments arrive, and can leave
// links behind as a careless archiver would. Like an older archiver it knows no -ba, and it
// writes the full listing, header included.
void TestDayImport::fakeArchiverArgumentsAndLinks()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in archiver is a shell script");
#endif
    const QString dir = tmp.path() + QStringLiteral("/fake");
    const QString argsFile = dir + QStringLiteral("/args.txt");
    const QString script =
        writeBytes(dir + QStringLiteral("/fake7za"),
                   "#!/bin/sh\n"
                   "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" +
                       argsFile.toUtf8() +
                       "'; [ \"$a\" = -ba ] && exit 7; done\n"
                       "if [ \"$1\" = l ]; then\n"
                       "  printf 'Listing archive: %s\\n--\\nPath = %s\\nType = tar\\n\\n' \"$4\" \"$4\"\n"
                       "  printf -- '----------\\nPath = D20240131__.vdr\\nSize = 4\\n'\n"
                       "  exit 0\n"
                       "fi\n"
                       "out=\"${5#-o}\"\n"
                       "mkdir -p \"$out/sub\"\n"
                       "echo day > \"$out/D20240131__.vdr\"\n"
                       "ln -s / \"$out/root\"\n"
                       "ln -s /etc/hostname \"$out/sub/D20240130__.vdr\"\n"
                       "exit ${FAKE_EXIT:-0}\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString archive = dir + QStringLiteral("/a \"b\" $(touch pwned) D20240131__A.tar");
    const QString target = dir + QStringLiteral("/out; rm -rf x/ZtTar");
    UnpackResult result = dayimport::unpackArchive(script, archive, target);
    QVERIFY2(result.ok(), qPrintable(QString::number(result.status)));
    QCOMPARE(QString::fromUtf8(readFile(argsFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({"l", "-slt", "-ttar", archive, "x", archive, "-ttar", "-y", "-o" + target}));
    QVERIFY(!QFileInfo::exists(QDir::currentPath() + QStringLiteral("/pwned")));
    QCOMPARE(result.removedLinks, QStringList({"root", "sub/D20240130__.vdr"}));
    QCOMPARE(testsupport::fileTree(target), QStringList({"D20240131__.vdr", "sub"}));

    qputenv("FAKE_EXIT", "7");
    result = dayimport::unpackArchive(script, archive, target);
    qunsetenv("FAKE_EXIT");
    QCOMPARE(result.status, UnpackResult::ArchiverFailed);
    QCOMPARE(result.exitCode, 7);
}

void TestDayImport::hangingArchiverIsStopped()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in archiver is a shell script");
#endif
    const QString script =
        writeBytes(tmp.path() + QStringLiteral("/hang/fake7za"), "#!/bin/sh\nexec sleep 30\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QElapsedTimer clock;
    clock.start();
    const UnpackResult result = dayimport::unpackArchive(script, tmp.path() + QStringLiteral("/x.tar"),
                                                         tmp.path() + QStringLiteral("/hang/ZtTar"), 300);
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(result.status, UnpackResult::ArchiverFailed);
    QCOMPARE(result.exitCode, -1);
}

void TestDayImport::directoriesUnderLocalData()
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
}

void TestDayImport::removeRefusesOtherNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("prefix") << "ZtTempX";
    QTest::newRow("suffix") << "MyZtTar";
    QTest::newRow("lower case") << "zttemp";
}

void TestDayImport::removeRefusesOtherNames()
{
    QFETCH(QString, name);
    const QString dir = tmp.path() + QLatin1Char('/') + name;
    writeBytes(dir + QStringLiteral("/keep.txt"), "x");
    QVERIFY(!platform::removeWorkingDirectory(dir));
    QVERIFY(QFile::exists(dir + QStringLiteral("/keep.txt")));
    QVERIFY(!platform::removeWorkingDirectory(QString()));
    QVERIFY(!platform::removeWorkingDirectory(QStringLiteral("/")));
}

// Removal deletes the directory's own content, never what a link inside or the link itself
// leads to, nor a neighbour with a similar name.
void TestDayImport::removeStaysInside()
{
    const QString base = tmp.path() + QStringLiteral("/remove");
    const QString outside = base + QStringLiteral("/outside");
    writeBytes(outside + QStringLiteral("/precious.vdr"), "x");
    const QString work = base + QStringLiteral("/ZtTemp");
    writeBytes(work + QStringLiteral("/sub/deep.vdr"), "x");
    QVERIFY(QFile::link(outside, work + QStringLiteral("/linked")));
    writeBytes(base + QStringLiteral("/ZtTemp.vdr"), "x");
    QVERIFY(platform::removeWorkingDirectory(work + QLatin1Char('/')));
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.vdr")));
    QVERIFY(QFile::exists(base + QStringLiteral("/ZtTemp.vdr")));
    QVERIFY(platform::removeWorkingDirectory(work)); // a missing directory counts as removed

    const QString link = base + QStringLiteral("/ZtTar");
    QVERIFY(QFile::link(outside, link));
    QVERIFY(platform::removeWorkingDirectory(link));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.vdr")));
}

QTEST_GUILESS_MAIN(TestDayImport)
#include "tst_dayimport.moc"
