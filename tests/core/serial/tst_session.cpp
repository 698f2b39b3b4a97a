// The download session on a real serial port over a pseudo-terminal, opened and watched as
// the viewer and tavrin-vdr do it: against the recorder simulator (the day files written
// must be the served files, byte for byte, however the frames are cut up or run together),
// and against a recorder played by the test for the package-number rule and the ways a
// download ends early.
#include "core/serial/downloadsession.h"
#include "core/serial/serialport.h"
#include "support/ptydevice.h"
#include "support/recordersim.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using serial::DayOutcome;
using serial::Failure;
using testsupport::readFile;
using testsupport::responseFrame;

namespace {

QString dayName(const QDate &day)
{
    return day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
}

QString outcomeText(DayOutcome outcome)
{
    const char *const texts[] = {"written", "write failed", "too large", "incomplete", "no data"};
    return QLatin1String(texts[int(outcome)]);
}

// Runs the event loop until the condition holds. Unlike QTRY_VERIFY, which sleeps between
// its checks, this answers every frame at once, as the programs' own event loops do.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QTimer tick;
    tick.start(20);
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// A session on a serial port into a folder of its own, recording what it tells.
struct Session
{
    QSerialPort port;
    serial::DownloadSession session;
    QTemporaryDir out;
    QStringList ended; // "2024/01/30 written"
    QList<Failure> errors;
    bool done = false;
    serial::DownloadResult result;
    int badChecksums = 0;
    qint64 mostBytes = 0; // of a day, at any package

    bool open(const QString &device)
    {
        if (!serial::openPort(port, serial::PortSettings{device}))
            return false;
        using serial::DownloadSession;
        session.setDevice(&port);
        session.setDirectory(out.path());
        QObject::connect(&port, &QSerialPort::readyRead, &session, &DownloadSession::readAvailable);
        serial::reportPortErrors(port, session);
        QObject::connect(&session, &DownloadSession::frameTaken,
                         [this](const serial::ResponseFrame &f) { badChecksums += f.checksumOk() ? 0 : 1; });
        QObject::connect(&session, &DownloadSession::progress,
                         [this](const QString &, int, qint64 bytes) { mostBytes = qMax(mostBytes, bytes); });
        QObject::connect(&session, &DownloadSession::dayEnded, [this](const QDate &day, DayOutcome outcome) {
            ended << day.toString(QStringLiteral("yyyy/MM/dd ")) + outcomeText(outcome);
        });
        // as the programs do: a link that failed is closed, the recorder's refusal is not
        QObject::connect(&session, &DownloadSession::error, [this](Failure failure) {
            errors << failure;
            if (failure != Failure::RecorderError)
                port.close();
        });
        QObject::connect(&session, &DownloadSession::finished, [this](const serial::DownloadResult &r) {
            done = true;
            result = r;
        });
        return true;
    }
    bool wait(int timeoutMs)
    {
        return waitUntil([this] { return done; }, timeoutMs);
    }
    QByteArray file(const QDate &day) const { return readFile(out.path() + QLatin1Char('/') + dayName(day)); }
    QStringList files() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }
};

// The command codes of the requests the played recorder received.
QString commands(const PtyDevice &pty)
{
    QStringList codes;
    for (const QByteArray &request : pty.requests())
        codes << QString::number(quint8(request[2]));
    return codes.join(QLatin1Char(' '));
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // full sample days, and small days for the slow piecewise rows
        const QString root = served.path();
        for (int i = 0; i < 3; ++i) {
            const QDate day = first.addDays(i);
            const QByteArray data = vdrenc::sampleDay(day, quint32(i + 1));
            const QByteArray small = data.left(3000 + 777 * i);
            testsupport::writeFile(root + "/full", dayName(day), data);
            testsupport::writeFile(root + "/small", dayName(day), small);
            if (i != 1)
                testsupport::writeFile(root + "/gap", dayName(day), small);
            testsupport::writeFile(root + "/large", dayName(day),
                                   i == 1 ? QByteArray(serial::kMaxDayFileSize + 1000, 'x') : small);
        }
        testsupport::writeFile(root + "/today", dayName(QDate::currentDate()), "recent hours of today");
    }

    void simulator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("outcomes"); // per day; none for a download that fails
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("badChecksums");
        const QStringList three{"written", "written", "written"};
        const int none = int(Failure::None);
        // clang-format off
        QTest::newRow("full days") << "full" << QStringList() << three << none << 0;
        QTest::newRow("coalesced") << "full" << QStringList{"--coalesce"} << three << none << 0;
        QTest::newRow("split in 5-byte pieces")
            << "small" << QStringList{"--package", "200", "--split", "5", "--pause-us", "100"} << three << none << 0;
        QTest::newRow("split and coalesced")
            << "small" << QStringList{"--package", "300", "--split", "17", "--coalesce"} << three << none << 0;
        QTest::newRow("bad checksum every 7th frame")
            << "small" << QStringList{"--package", "100", "--bad-checksum", "7"} << three << none << 10;
        QTest::newRow("middle day without data")
            << "gap" << QStringList{"--package", "500"} << QStringList{"written", "no data", "written"} << none << 0;
        // endlessPackagesStayBounded: the day's data stays within the bound, and the end frame of
        // a day too large to keep is answered all the same, as the recorder waits for that
        QTest::newRow("middle day too large, endless packages stay bounded")
            << "large" << QStringList{"--package", "65535"} << QStringList{"written", "too large", "written"} << none << 0;
        QTest::newRow("middle day not writable")
            << "small" << QStringList() << QStringList{"written", "write failed", "written"} << none << 0;
        QTest::newRow("recent hours") << "today" << QStringList{"--package", "8"} << QStringList{"written"} << none << 0;
        // asked again, the recorder serves the day, read behind nothing of the error frame
        QTest::newRow("short error frame")
            << "small" << QStringList{"--error-frame"} << QStringList() << int(Failure::RecorderError) << 0;
        QTest::newRow("garbage") << "small" << QStringList{"--garbage"} << QStringList() << int(Failure::NoFrame) << 0;
        // clang-format on
    }

    void simulator()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, switches);
        QFETCH(QStringList, outcomes);
        QFETCH(int, failure);
        QFETCH(int, badChecksums);
        const QString dir = served.path() + QLatin1Char('/') + folder;
        Simulator sim;
        QVERIFY(sim.start(dir, switches));
        Session s;
        QVERIFY(s.open(sim.devicePath));
        const bool recent = folder == QLatin1String("today");
        const QDate last = recent ? QDate::currentDate() : first.addDays(2);
        const QDate start = recent ? last : first;
        const QDate blocked =
            QTest::currentDataTag() == QByteArray("middle day not writable") ? first.addDays(1) : QDate();
        if (blocked.isValid())
            QVERIFY(QDir().mkpath(s.out.path() + QLatin1Char('/') + dayName(blocked)));
        testsupport::DebugCapture debug;
        QVERIFY(recent ? s.session.startRecentHours(last, 3) : s.session.startRange(first, last));
        QVERIFY(s.wait(60000));
        QCOMPARE(int(s.result.failure), failure);

        if (failure != int(Failure::None)) {
            QCOMPARE(s.errors, QList<Failure>{Failure(failure)});
            QCOMPARE(s.result.day, first);
            QCOMPARE(s.result.missing, (QList<QDate>{first, first.addDays(1), first.addDays(2)}));
            QVERIFY(s.files().isEmpty());
            if (failure == int(Failure::RecorderError)) {
                s.done = false;
                QVERIFY(s.session.startRange(first, first));
                QVERIFY(s.wait(10000));
                QCOMPARE(s.file(first), readFile(dir + QLatin1Char('/') + dayName(first)));
            }
            return;
        }
        QVERIFY(s.errors.isEmpty());
        QStringList ended;
        QList<QDate> unwritten, missing;
        for (int i = 0; i < outcomes.size(); ++i) {
            const QDate day = start.addDays(i);
            ended << day.toString(QStringLiteral("yyyy/MM/dd ")) + outcomes[i];
            if (outcomes[i] == QLatin1String("written"))
                QVERIFY2(s.file(day) == readFile(dir + QLatin1Char('/') + dayName(day)),
                         qPrintable(dayName(day)));
            else if (outcomes[i] == QLatin1String("no data"))
                missing << day;
            else
                unwritten << day;
        }
        QCOMPARE(s.ended, ended);
        QCOMPARE(s.result.unwritten, unwritten);
        QCOMPARE(s.result.missing, missing);
        QCOMPARE(s.files().size(), outcomes.count(QStringLiteral("written")));
        QCOMPARE(debug.lines().count(QStringLiteral("E_FT_CMD_STATUS_MAX")), outcomes.size());
        QVERIFY(s.mostBytes <= serial::kMaxDayFileSize);
        if (badChecksums)
            QVERIFY2(s.badChecksums >= badChecksums, qPrintable(QString::number(s.badChecksums)));
        else
            QCOMPARE(s.badChecksums, 0);
        QVERIFY(!s.session.running());
    }

    void framesTogetherAndInPieces_data()
    {
        QTest::addColumn<int>("endNumber");
        QTest::addColumn<bool>("written");
        QTest::newRow("end numbered one below the last package") << 1 << true;
        QTest::newRow("end numbered as the last package") << 2 << false;
        QTest::newRow("end numbered far below") << 0 << false;
    }

    // Frames A, B (package 1), C (package 2), D (the end) make the file ABCD only when the end
    // is numbered one below the last package; a second copy of the day replaces what the first
    // left. Frames that arrive together are all answered at once, a frame in pieces once whole.
    void framesTogetherAndInPieces()
    {
        QFETCH(int, endNumber);
        QFETCH(bool, written);
        PtyDevice pty;
        Session s;
        QVERIFY(s.open(pty.path()));
        const QDate day(2024, 1, 31);
        QVERIFY(s.session.startRange(day, day));
        QVERIFY(pty.waitForRequests(1));
        QCOMPARE(serial::hexText(pty.requests()[0]),
                 QStringLiteral("AA 75 00 00 00 20 24 01 31 00 00 00 EB"));
        pty.send(responseFrame(0x10, 0, "A") + responseFrame(0x11, 1, "B"));
        QVERIFY(pty.waitForRequests(2));
        const QByteArray package = responseFrame(0x11, 2, "C");
        pty.send(package.left(9)); // inside the head
        QTest::qWait(30);
        QCOMPARE(pty.requests().size(), 2);
        pty.send(package.mid(9));
        QVERIFY(pty.waitForRequests(3));
        pty.send(responseFrame(0x12, quint16(endNumber), "D"));
        QVERIFY(pty.waitForRequests(written ? 4 : 3));
        QCOMPARE(commands(pty), QString::fromLatin1(written ? "0 1 1 3" : "0 1 1"));
        QCOMPARE(s.session.download().dayFileData(), QByteArray("ABCD"));
        QCOMPARE(s.file(day), written ? QByteArray("ABCD") : QByteArray("<missing>"));

        pty.send(responseFrame(0x10, 0) + responseFrame(0x11, 1, "E") + responseFrame(0x12, 0));
        QVERIFY(pty.waitForRequests(written ? 6 : 5));
        QCOMPARE(s.file(day), QByteArray("E"));
        QVERIFY(!s.done);
        pty.send(responseFrame(0x15, 0));
        QVERIFY(s.wait(5000));
        QCOMPARE(s.ended, QStringList{"2024/01/31 written"});
        QVERIFY(s.result.missing.isEmpty() && s.result.unwritten.isEmpty());
        // the download is over: a late package is not answered
        pty.clear();
        pty.send(responseFrame(0x11, 2, "F"));
        QVERIFY(pty.waitForRequests(0));
    }

    void endedEarly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("packagesSent"); // of the second day, before the end
        QTest::addColumn<int>("failure");
        QTest::newRow("cancelled") << "cancel" << 1 << int(Failure::Cancelled);
        QTest::newRow("recorder silent after the first day") << "silent" << 1 << int(Failure::NoAnswer);
        QTest::newRow("peer vanishes after its start frame") << "hang up" << 0 << int(Failure::DeviceError);
        QTest::newRow("peer vanishes after two packages") << "hang up" << 2 << int(Failure::DeviceError);
        // the package number and the day's data are dropped: nothing of the day is answered
        QTest::newRow("recorder error frame resets the day")
            << "error frame" << 2 << int(Failure::RecorderError);
        // less than a head waits; what can never be a frame breaks the link
        QTest::newRow("bytes that are no frame") << "garbage" << 1 << int(Failure::NoFrame);
        // a request that does not leave the port is said at once, not blamed on the recorder
        QTest::newRow("request not sent") << "held" << 0 << int(Failure::NotSent);
    }

    // The second of three days is under way when the download ends: the first day's file
    // stays whole, the second leaves none (nor one written aside), both others are missing.
    void endedEarly()
    {
        QFETCH(QString, how);
        QFETCH(int, packagesSent);
        QFETCH(int, failure);
        PtyDevice pty;
        Session s;
        QVERIFY(s.open(pty.path()));
        s.session.setAnswerTimeout(how == "silent" ? 500 : 30000);
        const QDate day1(2024, 6, 1);
        QElapsedTimer timer;
        if (how == "held") {
            pty.holdOutput();
            timer.start();
            QVERIFY(s.session.startRange(day1, day1.addDays(2)));
            QVERIFY(s.wait(10000));
            QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
            QCOMPARE(s.result.missing, (QList<QDate>{day1, day1.addDays(1), day1.addDays(2)}));
            QVERIFY(pty.received().isEmpty());
        } else {
            QVERIFY(s.session.startRange(day1, day1.addDays(2)));
            QVERIFY(pty.waitForRequests(1));
            pty.send(responseFrame(0x10, 0) + responseFrame(0x11, 1, "day one"));
            QVERIFY(pty.waitForRequests(2));
            pty.send(responseFrame(0x12, 0) + responseFrame(0x14, 0));
            QVERIFY(pty.waitForRequests(4)); // file written, the next day asked for
            QByteArray partial = responseFrame(0x10, 0);
            for (int i = 1; i <= packagesSent; ++i)
                partial += responseFrame(0x11, quint16(i), "part");
            pty.send(partial);
            QVERIFY(pty.waitForRequests(4 + packagesSent));
            QCOMPARE(s.session.download().dayFileData().size(), 4 * packagesSent);
            timer.start();
            if (how == "cancel") {
                s.session.cancel();
            } else if (how == "hang up") {
                pty.hangUp();
            } else if (how == "error frame") {
                pty.send(serial::errorFrame());
            } else if (how == "garbage") {
                pty.send(QByteArray(7, '\x01'));
                QTest::qWait(50);
                QVERIFY(s.session.running());
                pty.send(QByteArray(7, '\x01'));
            }
            QVERIFY(s.wait(5000));
            // The limit runs from the last request, which left a moment before the test saw it;
            // coarse timers may also fire a little early.
            if (how == "silent")
                QVERIFY2(timer.elapsed() >= 300, qPrintable(QString::number(timer.elapsed())));
            QCOMPARE(s.result.day, day1.addDays(1));
            QCOMPARE(s.files(), QStringList{dayName(day1)});
            QCOMPARE(s.file(day1), QByteArray("day one"));
            QCOMPARE(s.result.missing, (QList<QDate>{day1.addDays(1), day1.addDays(2)}));
            QCOMPARE(s.ended, QStringList{"2024/06/01 written"});
        }
        QCOMPARE(int(s.result.failure), failure);
        QCOMPARE(s.errors, how == "cancel" ? QList<Failure>() : QList<Failure>{Failure(failure)});
        QVERIFY(!s.session.running());
        QVERIFY(s.session.download().dayFileData().isEmpty());
        QCOMPARE(s.session.download().lastPackId(), quint16(0));
        if (how == "cancel" || how == "error frame") {
            // the port is still there, and nothing more is answered
            pty.clear();
            pty.send(responseFrame(0x11, 3, "late") + responseFrame(0x12, 2));
            QVERIFY(pty.waitForRequests(0));
            QCOMPARE(s.files(), QStringList{dayName(day1)});
        }
    }

    void writeFailureLeavesNoFile()
    {
        QTemporaryDir tmp;
        const QDate day(2024, 1, 31);
        // the folder's path is taken by a file
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
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("D20240201__.vdr")});
        QCOMPARE(readFile(dir + QStringLiteral("/D20240201__.vdr")), QByteArray("new"));
    }

private:
    QTemporaryDir served;
    const QDate first{2024, 1, 30};
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
