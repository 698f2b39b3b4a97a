// Where the working directories live, and that removing one never touches anything else.
#include "app/platform.h"

#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void directoriesUnderLocalData();
    void removeRefusesOtherNames_data();
    void removeRefusesOtherNames();
    void removeStaysInside();
    void removeLinkNotTarget();
    void archiverFound();

private:
    QTemporaryDir tmp;
};

static void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

void TestPlatform::directoriesUnderLocalData()
{
    const QString work = platform::workingDirectoryPath();
    const QString archive = platform::archiveDirectoryPath();
    QVERIFY(work.endsWith(QLatin1String("/ZtTemp")) && archive.endsWith(QLatin1String("/ZtTar")));
#ifndef Q_OS_WIN
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty())
        QCOMPARE(QFileInfo(work).absolutePath(), QDir::cleanPath(dataHome));
#endif
}

void TestPlatform::removeRefusesOtherNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("prefix") << "ZtTempX";
    QTest::newRow("suffix") << "MyZtTar";
    QTest::newRow("lower case") << "zttemp";
}

void TestPlatform::removeRefusesOtherNames()
{
    QFETCH(QString, name);
    const QString dir = tmp.path() + QLatin1Char('/') + name;
    touch(dir + QStringLiteral("/keep.txt"));
    QVERIFY(!platform::removeWorkingDirectory(dir));
    QVERIFY(QFile::exists(dir + QStringLiteral("/keep.txt")));
    QVERIFY(!platform::removeWorkingDirectory(QString()));
    QVERIFY(!platform::removeWorkingDirectory(QStringLiteral("/")));
}

void TestPlatform::removeStaysInside()
{
    const QString outside = tmp.path() + QStringLiteral("/outside");
    touch(outside + QStringLiteral("/precious.vdr"));
    const QString work = tmp.path() + QStringLiteral("/ZtTemp");
    touch(work + QStringLiteral("/D20240131__.vdr"));
    touch(work + QStringLiteral("/sub/deep.vdr"));
    QVERIFY(QFile::link(outside, work + QStringLiteral("/linked")));
    touch(tmp.path() + QStringLiteral("/ZtTemp.vdr"));

    QVERIFY(platform::removeWorkingDirectory(work + QLatin1Char('/')));
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious.vdr")));
    QVERIFY(QFile::exists(tmp.path() + QStringLiteral("/ZtTemp.vdr")));
    // a missing directory counts as removed
    QVERIFY(platform::removeWorkingDirectory(work));
}

void TestPlatform::removeLinkNotTarget()
{
    const QString target = tmp.path() + QStringLiteral("/real");
    touch(target + QStringLiteral("/file"));
    const QString link = tmp.path() + QStringLiteral("/ZtTar");
    QVERIFY(QFile::link(target, link));
    QVERIFY(platform::removeWorkingDirectory(link));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFile::exists(target + QStringLiteral("/file")));
}

void TestPlatform::archiverFound()
{
    // The set-up script installs the archiver; the tests rely on the real one.
    QVERIFY2(QFileInfo(platform::archiverProgram()).isExecutable(),
             "no 7za, 7z or 7zz beside the program or on the PATH");
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
