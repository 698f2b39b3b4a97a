// The download sequence: what the program does in answer to each frame of the recorder,
// and the writing of day files.
#include "serial/download.h"

#include "support/testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

using serial::Download;
using serial::DownloadAction;

namespace {

serial::ResponseFrame frame(quint8 status, quint16 id = 0, const QByteArray &payload = {})
{
    serial::ResponseFrame f;
    f.status = status, f.packId = id, f.payload = payload;
    return f;
}

// Plays frames into the sequence as the window would: writes days into `dir`, requests
// the next day, and records the commands sent and the days requested.
struct Player
{
    Download download;
    QString dir;
    QList<quint8> commands;
    QList<QDate> requested;
    QList<QDate> written;
    bool finished = false;

    void play(const serial::ResponseFrame &f)
    {
        for (const DownloadAction &a : download.handleFrame(f)) {
            switch (a.kind) {
            case DownloadAction::Send:
                QCOMPARE(a.bytes.mid(5, 6), download.requestFrame().mid(5, 6));
                commands.append(quint8(a.bytes[2]));
                break;
            case DownloadAction::WriteDay:
                QVERIFY(serial::writeDayFile(dir, a.day, a.bytes));
                written.append(a.day);
                break;
            case DownloadAction::RequestDay:
                requested.append(a.day);
                download.requestDay(a.day);
                break;
            case DownloadAction::Finish:
                finished = true;
                break;
            default:
                break;
            }
        }
    }
    // One whole day: start, packages, end numbered one below the last package, done.
    void day(const QList<QByteArray> &packages)
    {
        play(frame(serial::StatusFileStart));
        for (int i = 0; i < packages.size(); ++i)
            play(frame(serial::StatusPackage, quint16(i + 1), packages[i]));
        play(frame(serial::StatusFileEnd, quint16(packages.size() - 1)));
        play(frame(serial::StatusDayDone));
    }
    QByteArray file(const QDate &day) const
    {
        QFile f(dir + QLatin1Char('/') + day.toString(QStringLiteral("DyyyyMMdd__")) +
                QStringLiteral(".vdr"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void packageNumberRule_data();
    void packageNumberRule();
    void threeDaysMiddleEmpty();
    void recentHoursWriteToday();
    void errorResetsDayData();
    void endlessPackagesStayBounded();
    void writeFailureLeavesNoFile();
};

void TestDownload::packageNumberRule_data()
{
    QTest::addColumn<int>("endNumber");
    QTest::addColumn<bool>("written");
    QTest::newRow("end numbered one below the last package") << 1 << true;
    QTest::newRow("end numbered as the last package") << 2 << false;
    QTest::newRow("end numbered far below") << 0 << false;
}

void TestDownload::packageNumberRule()
{
    QFETCH(int, endNumber);
    QFETCH(bool, written);
    QTemporaryDir tmp;
    Player p;
    p.dir = tmp.path() + QStringLiteral("/ZtTemp");
    const QDate day(2024, 1, 31);
    p.download.startRange(day, day);
    p.download.requestDay(day);
    p.play(frame(serial::StatusFileStart, 0, "A"));
    p.play(frame(serial::StatusPackage, 1, "B"));
    p.play(frame(serial::StatusPackage, 2, "C"));
    p.play(frame(serial::StatusFileEnd, quint16(endNumber), "D"));
    QCOMPARE(p.download.dayFileData(), QByteArray("ABCD"));
    if (written) {
        QCOMPARE(p.commands, (QList<quint8>{0x01, 0x01, 0x03}));
        QCOMPARE(p.file(day), QByteArray("ABCD"));
    } else {
        QCOMPARE(p.commands, (QList<quint8>{0x01, 0x01}));
        QVERIFY(!QFileInfo::exists(p.dir));
    }
    QVERIFY(!p.finished);
    p.play(frame(serial::StatusDayDoneAlt));
    QVERIFY(p.finished);
}

void TestDownload::threeDaysMiddleEmpty()
{
    QTemporaryDir tmp;
    Player p;
    p.dir = tmp.path();
    const QDate first(2023, 12, 31);
    p.download.startRange(first, first.addDays(2));
    p.download.requestDay(first);
    p.play(frame(serial::StatusFileStart)); // a first copy of the day, replaced by the second
    p.play(frame(serial::StatusPackage, 1, "a much longer first copy"));
    p.play(frame(serial::StatusFileEnd, 0));
    p.day({"one", "two"});
    p.play(frame(serial::StatusDayDone)); // no data for the middle day
    p.day({"three"});
    QCOMPARE(p.requested, (QList<QDate>{QDate(2024, 1, 1), QDate(2024, 1, 2)}));
    QCOMPARE(p.written, (QList<QDate>{first, first, QDate(2024, 1, 2)}));
    QVERIFY(p.finished && !p.download.running());
    QCOMPARE(p.file(first), QByteArray("onetwo"));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 2);
    // the download is over: a late frame does nothing
    QVERIFY(p.download.handleFrame(frame(serial::StatusDayDone)).isEmpty());
}

void TestDownload::recentHoursWriteToday()
{
    QTemporaryDir tmp;
    Player p;
    p.dir = tmp.path();
    const QDate today = QDate::currentDate();
    const QByteArray request = p.download.startRecentHours(today, 5);
    QCOMPARE(serial::hexText(request).left(32), QStringLiteral("AA 75 00 00 00 00 00 00 00 05 01"));
    p.day({"recent"});
    QVERIFY(p.finished);
    QVERIFY(p.requested.isEmpty());
    QCOMPARE(p.file(today), QByteArray("recent"));
}

void TestDownload::errorResetsDayData()
{
    Download d;
    d.startRange(QDate(2024, 1, 1), QDate(2024, 1, 1));
    d.requestDay(QDate(2024, 1, 1));
    d.handleFrame(frame(serial::StatusFileStart, 0, "x"));
    d.handleFrame(frame(serial::StatusPackage, 4, "y"));
    d.resetAfterError();
    QCOMPARE(d.lastPackId(), quint16(0));
    QVERIFY(d.dayFileData().isEmpty());
    // the end frame that would have matched package 4 now writes nothing
    for (const DownloadAction &a : d.handleFrame(frame(serial::StatusFileEnd, 3)))
        QVERIFY(a.kind != DownloadAction::WriteDay);
    // a stopped download takes nothing more
    QVERIFY(d.running());
    d.stop();
    QVERIFY(!d.running());
    QVERIFY(d.handleFrame(frame(serial::StatusFileStart, 0, "z")).isEmpty());
    QVERIFY(d.dayFileData().isEmpty());
}

// A recorder (or a noisy line) that sends packages without end must not make the day's data
// grow without bound: beyond the limit the day is dropped and reported unwritten, its end
// frame is answered as for a written day (the recorder waits for that), and the next day
// downloads normally.
void TestDownload::endlessPackagesStayBounded()
{
    QTemporaryDir tmp;
    Player p;
    p.dir = tmp.path();
    p.download.startRange(QDate(2024, 1, 1), QDate(2024, 1, 2));
    p.download.requestDay(QDate(2024, 1, 1));
    const QByteArray package(0xFFFF, 'p');
    p.play(frame(serial::StatusFileStart));
    const int packages = serial::kMaxDayFileSize / package.size() + 2;
    for (int i = 1; i <= packages; ++i) {
        p.play(frame(serial::StatusPackage, quint16(i), package));
        QVERIFY(p.download.dayFileData().size() <= serial::kMaxDayFileSize);
    }
    p.commands.clear();
    p.play(frame(serial::StatusFileEnd, quint16(packages - 1)));
    QCOMPARE(p.commands, QList<quint8>{0x03});
    QCOMPARE(p.written, QList<QDate>());
    QCOMPARE(p.file(QDate(2024, 1, 1)), QByteArray("<missing>"));
    QCOMPARE(p.download.unwrittenDays(), QList<QDate>{QDate(2024, 1, 1)});
    p.play(frame(serial::StatusDayDone));
    QCOMPARE(p.requested, QList<QDate>{QDate(2024, 1, 2)});
    p.day({"ab", "cd"});
    QCOMPARE(p.file(QDate(2024, 1, 2)), QByteArray("abcd"));
    QVERIFY(p.finished);
    QCOMPARE(p.download.unwrittenDays(), QList<QDate>{QDate(2024, 1, 1)});
}

void TestDownload::writeFailureLeavesNoFile()
{
    QTemporaryDir tmp;
    const QDate day(2024, 1, 31);
    // the working directory's path is taken by a file
    const QString blocked = testsupport::writeFile(tmp.path(), QStringLiteral("ZtTemp"), "x");
    QString error;
    QVERIFY(!serial::writeDayFile(blocked, day, "data", &error) && !error.isEmpty());
    // the day's name is taken by a directory: the write goes aside and its rename fails
    const QString dir = tmp.path() + QStringLiteral("/work");
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/D20240131__.vdr")));
    QVERIFY(!serial::writeDayFile(dir, day, "data"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList());
    // a good write replaces an older file and leaves nothing else behind
    QVERIFY(serial::writeDayFile(dir, day.addDays(1), "old"));
    QVERIFY(serial::writeDayFile(dir, day.addDays(1), "new"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("D20240201__.vdr")});
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
