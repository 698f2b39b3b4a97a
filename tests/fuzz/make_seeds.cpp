// Writes the seed corpora of the fuzz harnesses with the project's own encoder:
//   <dir>/dayfile: day files (a small valid day, damaged containers) and each block kind
//                  alone, in the input layout of fuzz_dayfile;
//   <dir>/serial:  received byte streams of whole downloads and of each frame kind, in the
//                  input layout of fuzz_serial;
//   <dir>/tarlisting: listings of tar archives as the console archiver writes them
//                  ("l -slt"), for fuzz_tarlisting;
//   <dir>/rules:   rules files for fuzz_rules: the default set, partial and stricter sets,
//                  and files wrong in each way the reader names.
// Usage: tavrin-fuzz-seeds <dir>
#include "core/period/rules.h"
#include "core/serial/frames.h"
#include "vdrencoder.h"

#include <QDir>
#include <QFile>
#include <QVector>

#include <cstdio>

namespace {

bool writeSeed(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir + QLatin1Char('/') + name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray smallBlock(vdrenc::DataId id)
{
    using namespace vdrenc;
    const QByteArray t0 = stamp(2024, 1, 31, 8, 0, 0);
    const QByteArray t1 = stamp(2024, 1, 31, 9, 30, 5);
    switch (id) {
    case FaultEventId:
        return faultEventBlock({{'1', t0, t1}, {'5', t1, zeroStamp()}},
                               {{'2', t0, zeroStamp(), 3}, {'7', t0, t1, 1}});
    case SpeedId: {
        SpeedRecord a{t0, {}, {}};
        for (int j = 0; j < 120; ++j) {
            a.speed[size_t(j)] = quint8(j % 7 == 0 ? NoSpeed : j);
            a.mileage[size_t(j)] = j % 11 == 0 ? NoMileage : 12340 + quint32(j);
        }
        SpeedRecord b = a;
        b.start = stamp(2024, 1, 31, 8, 1, 0);
        return speedBlock({a, b});
    }
    case TechnologyId: {
        DeviceInfo info;
        info.vendor = "Vendor";
        info.address = "<b>Street</b> 1";
        info.serial = "SN123456";
        info.firmware = {1, 2, 0x1a, 0};
        info.installTime = t0;
        info.mfdDate = bcdDate(2023, 5, 6);
        info.certificate = "CERT";
        info.carNo = "AB-1234";
        return technologyBlock(info, {{"Op", bcdMileage(12345), bcdMileage(12400), t0, t1}}, {{t0, t1}},
                               {{t0, t1, bcdHourMinute(4, 0), bcdHourMinute(4, 30)}},
                               {{t0, t1, bcdHourMinute(0, 20), bcdHourMinute(0, 30)}});
    }
    case DrivingId:
        return drivingBlock({{"DRIVER-A", drivingStatus(true, Driving, 2), t0},
                             {"DRIVER-B", drivingStatus(false, Resting, 3), stamp(2024, 1, 31, 8, 20, 0)},
                             {"DRIVER-A", drivingStatus(true, Stopping, 2), t1}});
    case LocationId:
        return locationBlock({{t0, coordinate(121, 30, 12), coordinate(25, 2, 7), 123, 40, 1},
                              {t1, coordinate(-121, 30), coordinate(-25, 2), -5, 0, 0}});
    }
    return {};
}

QByteArray responseFrame(quint8 status, quint16 id, const QByteArray &payload)
{
    QByteArray f(serial::kHeadSize, '\0');
    f[0] = char(0x55);
    f[1] = char(0x7A);
    f[2] = char(status);
    f[3] = char(id & 0xFF);
    f[4] = char(id >> 8);
    f[11] = char(payload.size() & 0xFF);
    f[12] = char(payload.size() >> 8);
    f[13] = char(serial::xorOf(f.constData(), 13) ^ serial::xorOf(payload.constData(), payload.size()));
    return f + payload;
}

// A whole day's download: start, the day file in packages, end, day done.
QByteArray dayDownload(const QByteArray &day, int packageSize)
{
    QByteArray s = responseFrame(serial::StatusFileStart, 0, QByteArray());
    quint16 id = 0;
    for (int at = 0; at < day.size(); at += packageSize)
        s += responseFrame(serial::StatusPackage, ++id, day.mid(at, packageSize));
    s += responseFrame(serial::StatusFileEnd, quint16(id - 1), QByteArray());
    s += responseFrame(serial::StatusDayDone, 0, QByteArray());
    return s;
}

// The archiver's listing of an archive: its header, the line of dashes, one block per entry.
QByteArray tarListing(const QByteArray &entries, const char *lineEnd = "\n")
{
    QByteArray text = "\n7-Zip 16.02\n\nScanning the drive for archives:\n1 file, 10240 bytes (10 KiB)\n\n"
                      "Listing archive: /home/u/D20240131__A.tar\n\n--\nPath = /home/u/D20240131__A.tar\n"
                      "Type = tar\nPhysical Size = 10240\nHeaders Size = 2048\nCode Page = UTF-8\n\n"
                      "----------\n" +
                      entries;
    return text.replace("\n", lineEnd);
}

QByteArray listedEntry(const QByteArray &path, qint64 size, const char *mode = "-rw-r--r--",
                       const QByteArray &link = QByteArray())
{
    return "Path = " + path + "\nFolder = " + (mode[0] == 'd' ? "+" : "-") +
           "\nSize = " + QByteArray::number(size) +
           "\nPacked Size = 512\nModified = 2024-01-31 23:59:59\nMode = " + mode +
           "\nSymbolic Link = " + (mode[0] == 'l' ? link : QByteArray()) +
           "\nHard Link = " + (mode[0] == 'h' ? link : QByteArray()) + "\n\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <dir>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString dayDir = root + QStringLiteral("/dayfile");
    const QString serialDir = root + QStringLiteral("/serial");
    const QString listingDir = root + QStringLiteral("/tarlisting");
    const QString rulesDir = root + QStringLiteral("/rules");
    if (!QDir().mkpath(dayDir) || !QDir().mkpath(serialDir) || !QDir().mkpath(listingDir) ||
        !QDir().mkpath(rulesDir))
        return 1;
    bool ok = true;

    // Day files.
    QVector<vdrenc::Block> blocks;
    const char *names[] = {"ERR_EVENT", "SPEED", "TECHNOLOGY", "DRIVING", "LOCATION"};
    for (int id : {2, 0, 1, 3, 4})
        blocks.append({quint8(id), names[id], smallBlock(vdrenc::DataId(id))});
    const QByteArray day = vdrenc::container(blocks);
    const QByteArray name = "D20240131__.vdr\n";
    ok &= writeSeed(dayDir, QStringLiteral("day-valid"), char(5) + name + day);
    ok &= writeSeed(dayDir, QStringLiteral("day-no-name"), char(6) + day);
    ok &=
        writeSeed(dayDir, QStringLiteral("day-bad-name"), char(7) + QByteArray("D2024x131_A_B.vdr\n") + day);
    vdrenc::ContainerOptions damage;
    damage.corruptChecksum = true;
    ok &= writeSeed(dayDir, QStringLiteral("day-bad-checksum"),
                    char(5) + name + vdrenc::container(blocks, damage));
    damage = {};
    damage.dataSizeOverrideForLast = 0x7FFFFFFF;
    ok &= writeSeed(dayDir, QStringLiteral("day-oversized-block"),
                    char(5) + name + vdrenc::container(blocks, damage));
    damage = {};
    damage.blockCountOverride = 9;
    ok &= writeSeed(dayDir, QStringLiteral("day-extra-count"),
                    char(5) + name + vdrenc::container(blocks, damage));
    ok &= writeSeed(dayDir, QStringLiteral("day-truncated"), char(5) + name + day.left(day.size() / 2));
    for (int id = 0; id < 5; ++id) {
        const QByteArray b = smallBlock(vdrenc::DataId(id));
        ok &= writeSeed(dayDir, QStringLiteral("block-%1").arg(id), char(id) + b);
        ok &= writeSeed(dayDir, QStringLiteral("block-%1-short").arg(id), char(id) + b.left(b.size() - 3));
    }

    // Serial streams. The last bytes set up the download (the first day, a range or the
    // recent hours) and the chunking; zero bytes there give small chunks.
    const QByteArray tail(12, '\0');
    ok &= writeSeed(serialDir, QStringLiteral("download-day"), dayDownload(day, 64) + tail);
    ok &= writeSeed(serialDir, QStringLiteral("download-two-days"),
                    dayDownload(day, 200) + dayDownload(day.left(100), 37) + QByteArray(12, '\x05'));
    ok &= writeSeed(serialDir, QStringLiteral("frame-start"),
                    responseFrame(serial::StatusFileStart, 0, {}) + tail);
    ok &= writeSeed(serialDir, QStringLiteral("frame-package"),
                    responseFrame(serial::StatusPackage, 1, day.left(300)) + tail);
    ok &=
        writeSeed(serialDir, QStringLiteral("frame-end"), responseFrame(serial::StatusFileEnd, 0, {}) + tail);
    ok &= writeSeed(serialDir, QStringLiteral("frame-done"),
                    responseFrame(serial::StatusDayDone, 0, {}) + tail);
    ok &= writeSeed(serialDir, QStringLiteral("frame-done-alt"),
                    responseFrame(serial::StatusDayDoneAlt, 0, {}) + tail);
    ok &= writeSeed(serialDir, QStringLiteral("frame-error"), serial::errorFrame() + tail);
    QByteArray badSum = responseFrame(serial::StatusPackage, 1, "abc");
    badSum[13] = char(badSum.at(13) ^ 0x5A);
    ok &= writeSeed(serialDir, QStringLiteral("frame-bad-checksum"), badSum + tail);
    ok &= writeSeed(serialDir, QStringLiteral("noise"),
                    QByteArray("\x55\x7A\x11\x00\x00garbage\x55\x7A\xFA\x00\xD5", 17) + tail);

    // Archive listings: plain days, a folder, links and paths leading out, sizes beyond the
    // bounds or unreadable, an archive in error, Windows line ends, an empty archive.
    const QByteArray days =
        listedEntry("D20240130__A.vdr", 1048576) + listedEntry("D20240131__A.vdr", 998000);
    ok &= writeSeed(listingDir, QStringLiteral("days"), tarListing(days));
    ok &= writeSeed(listingDir, QStringLiteral("days-crlf"), tarListing(days, "\r\n"));
    ok &=
        writeSeed(listingDir, QStringLiteral("folder"),
                  tarListing(listedEntry("days", 0, "drwxr-xr-x") + listedEntry("days/D20240130__A.vdr", 9)));
    ok &= writeSeed(listingDir, QStringLiteral("links"),
                    tarListing(listedEntry("up", 5, "lrwxrwxrwx", "../..") +
                               listedEntry("h.vdr", 0, "hrw-r--r--", "/etc/passwd")));
    ok &= writeSeed(listingDir, QStringLiteral("paths-out"),
                    tarListing(listedEntry("/etc/x.vdr", 1) + listedEntry("a/../../x", 1) +
                               listedEntry("C:x.vdr", 1) + listedEntry("a\\..\\b", 1)));
    ok &= writeSeed(listingDir, QStringLiteral("sizes"),
                    tarListing(listedEntry("D20240131__A.vdr", 33554433) + listedEntry("blob", 3221225472) +
                               "Path = odd.vdr\nSize = 12x\n\nPath = none.bin\n\n" +
                               listedEntry("huge", 9000000000000000000)));
    ok &= writeSeed(listingDir, QStringLiteral("errors"),
                    tarListing(listedEntry("D20240131__A.vdr", 3221225472)) +
                        "\nERRORS:\nUnexpected end of archive\n\nErrors: 1\n");
    ok &= writeSeed(listingDir, QStringLiteral("empty"), tarListing(QByteArray()));

    // Rules files.
    period::RuleSet strict;
    strict.name = QStringLiteral("Company \"strict\" rules");
    strict.continuousDrivingMaxMinutes = strict.exceptionDrivingMaxMinutes = 180;
    strict.reducedRestsPerWeek = 0;
    strict.reducedRestsOnConsecutiveDays = true;
    ok &= writeSeed(rulesDir, QStringLiteral("default"), period::rulesJson(period::RuleSet()));
    ok &= writeSeed(rulesDir, QStringLiteral("strict"), period::rulesJson(strict));
    ok &= writeSeed(rulesDir, QStringLiteral("partial"),
                    R"({"name": "EU-like", "dailyDrivingMaxMinutes": 540})");
    ok &= writeSeed(rulesDir, QStringLiteral("unknown-field"), R"({"name": "x", "breakMinute": 30})");
    ok &= writeSeed(rulesDir, QStringLiteral("wrong-types"),
                    R"({"name": 1, "breakMinutes": "30", "reducedRestsOnConsecutiveDays": null})");
    ok &= writeSeed(rulesDir, QStringLiteral("out-of-order"),
                    R"({"name": "x", "breakPartMinutes": 40, "reducedDailyRestMinutes": 700})");
    ok &= writeSeed(
        rulesDir, QStringLiteral("numbers"),
        R"({"name": "x", "breakMinutes": 1e3, "dailyRestMinutes": -0, "workingDayMaxMinutes": 30.0})");
    ok &= writeSeed(rulesDir, QStringLiteral("broken"), R"({"name": "x", "breakMinutes": 30,)");
    ok &= writeSeed(rulesDir, QStringLiteral("not-an-object"), R"([{"name": "x"}])");
    return ok ? 0 : 1;
}
