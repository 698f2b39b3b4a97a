// The import core: which names give a day, listing and copying, running the archiver safely
// (argument list, refused entries, links, exit codes, a hanging archiver), and where the
// working directories live and that removing one never touches anything else.
#include "app/platform.h"
#include "import/dayimport.h"

#include "support/testsupport.h"
#include "tarwriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readFile;

using dayimport::UnpackResult;

Q_DECLARE_METATYPE(QVector<tartest::Entry>)

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
    QTest::addColumn<QStringList>("unsafe");
    const QByteArray file = "Path = D20240131__.vdr\nFolder = -\nMode = -rw-r--r--\nSymbolic Link = \n"
                            "Hard Link = \n\n";
    // clang-format off
    QTest::newRow("plain files") << file + "Path = sub/x.vdr\nMode = -rw-r--r--\n" << QStringList();
    QTest::newRow("header block before the dashes")
        << "Path = /home/u/D20240131__A.tar\nType = tar\n\n----------\n" + file << QStringList();
    QTest::newRow("windows line ends") << QByteArray("Path = ../x\r\nMode = -rw-r--r--\r\n") << QStringList{"../x"};
    QTest::newRow("symbolic link") << file + "Path = evil\nMode = lrwxrwxrwx\nSymbolic Link = /etc\n"
                                   << QStringList{"evil"};
    QTest::newRow("hard link") << QByteArray("Path = h\nMode = -rw-r--r--\nHard Link = /etc/passwd\n")
                               << QStringList{"h"};
    // A later empty "Symbolic Link = " line (as a crafted name could add) clears nothing.
    QTest::newRow("mark not cleared")
        << QByteArray("Path = evil\nSymbolic Link = /etc\nSymbolic Link = \nMode = -rw-r--r--\n")
        << QStringList{"evil"};
    QTest::newRow("absolute and dot-dot") << file + "Path = /abs\n\nPath = a/../../b\n"
                                          << QStringList({"/abs", "a/../../b"});
    // clang-format on
}

void TestDayImport::archiveListing()
{
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, unsafe);
    QCOMPARE(dayimport::unsafeListedEntries(listing), unsafe);
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
    QVERIFY(result.commandText.contains(QLatin1String(" x \"") + archive + QLatin1String("\" -y \"-o")));
}

void TestDayImport::hostileArchivesRefused_data()
{
    QTest::addColumn<QVector<tartest::Entry>>("entries");
    QTest::addColumn<QString>("badEntry");
    const QByteArray outside = QDir(tmp.path()).absoluteFilePath(QStringLiteral("outside")).toUtf8();
    // clang-format off
    QTest::newRow("absolute") << QVector<tartest::Entry>{tartest::file("D20240130__A.vdr", "ok"),
                                                         tartest::file(outside + "/abs.vdr", "abs")}
                              << QString::fromUtf8(outside + "/abs.vdr");
    QTest::newRow("inner dot-dot") << QVector<tartest::Entry>{tartest::file("a/../../../outside/dot.vdr",
                                                                            "dot")}
                                   << "a/../../../outside/dot.vdr";
    QTest::newRow("relative link out") << QVector<tartest::Entry>{tartest::link("up", "../../outside")} << "up";
    QTest::newRow("hard link") << QVector<tartest::Entry>{tartest::link("h.vdr", outside + "/secret", '1')}
                               << "h.vdr";
    // clang-format on
}

void TestDayImport::hostileArchivesRefused()
{
    QFETCH(QVector<tartest::Entry>, entries);
    QFETCH(QString, badEntry);
    const QString outside = tmp.path() + QStringLiteral("/outside");
    QDir().mkpath(outside);
    writeBytes(outside + QStringLiteral("/secret"), "secret");
    const QStringList outsideBefore = testsupport::fileTree(outside);

    const QString work = tmp.path() + QStringLiteral("/hostile/") + QLatin1String(QTest::currentDataTag());
    const QString archive = writeBytes(work + QStringLiteral("/D20240131__A.tar"), tartest::archive(entries));
    const QString target = work + QStringLiteral("/a/b/ZtTar");
    const UnpackResult result = dayimport::unpackArchive(platform::archiverProgram(), archive, target);
    QCOMPARE(result.status, UnpackResult::UnsafeEntries);
    QVERIFY2(result.unsafeEntries.contains(badEntry), qPrintable(result.unsafeEntries.join(", ")));
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
// links behind as a careless archiver would.
void TestDayImport::fakeArchiverArgumentsAndLinks()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in archiver is a shell script");
#endif
    const QString dir = tmp.path() + QStringLiteral("/fake");
    const QString argsFile = dir + QStringLiteral("/args.txt");
    const QString script =
        writeBytes(dir + QStringLiteral("/fake7za"), "#!/bin/sh\n"
                                                     "[ \"$1\" = l ] && exit 0\n"
                                                     "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" +
                                                         argsFile.toUtf8() +
                                                         "'; done\n"
                                                         "out=\"${4#-o}\"\n"
                                                         "mkdir -p \"$out/sub\"\n"
                                                         "echo day > \"$out/D20240131__.vdr\"\n"
                                                         "ln -s / \"$out/root\"\n"
                                                         "ln -s /etc/hostname \"$out/sub/D20240130__.vdr\"\n"
                                                         "exit ${FAKE_EXIT:-0}\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString archive = dir + QStringLiteral("/a \"b\" $(touch pwned) D20240131__A.tar");
    const QString target = dir + QStringLiteral("/out; rm -rf x/ZtTar");
    UnpackResult result = dayimport::unpackArchive(script, archive, target);
    QVERIFY(result.ok());
    QCOMPARE(QString::fromUtf8(readFile(argsFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({"x", archive, "-y", "-o" + target}));
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
