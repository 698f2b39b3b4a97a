#include "core/vdr/technology.h"

#include "core/vdr/recordertime.h"

#include <QCoreApplication>
#include <QDate>
#include <QTime>

#include <cstring>

namespace vdr {

namespace {

constexpr int kMileageRecordSize = 58;
constexpr int kClockRecordSize = 14;
constexpr int kThresholdRecordSize = 18;

// A fixed-width text field: UTF-8 up to the first zero byte, or the whole width.
QString textField(const uchar *p, int width)
{
    const char *text = reinterpret_cast<const char *>(p);
    return QString::fromUtf8(text, int(qstrnlen(text, uint(width))));
}

// A BCD byte as high nibble x 10 + low nibble; the nibbles are not checked.
int bcd(uchar byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

template <std::size_t N> std::array<uchar, N> bytesAt(const uchar *p)
{
    std::array<uchar, N> out;
    std::memcpy(out.data(), p, N);
    return out;
}

ThresholdCalibration thresholdAt(const uchar *p)
{
    ThresholdCalibration record;
    record.timeBefore = bytesAt<7>(p);
    record.timeAfter = bytesAt<7>(p + 7);
    record.before = bytesAt<2>(p + 14);
    record.after = bytesAt<2>(p + 16);
    return record;
}

QString td(const QString &value)
{
    return QStringLiteral("<td>") + value + QStringLiteral("</td>");
}

QString countCell(int count)
{
    return QStringLiteral("    <td>") + QCoreApplication::translate("MainWindow", "Count:") +
           QString::number(count) + QStringLiteral("</td></tr>");
}

QString thresholdTableHtml(const QString &title, int count, const QVector<ThresholdCalibration> &records,
                           const QString &closing)
{
    QString html;
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"580\" >");
    html += QStringLiteral("<tr><td colspan=\"3\" >") + title + QStringLiteral("</td>") + countCell(count);
    html += QStringLiteral("<tr>") + QStringLiteral("<td width=\"80\"  >") +
            QCoreApplication::translate("MainWindow", "Index") + QStringLiteral("</td>") +
            QStringLiteral("<td width=\"100\" >") + QStringLiteral("-----") + QStringLiteral("</td>") +
            QStringLiteral("<td width=\"200\" >") + QCoreApplication::translate("MainWindow", "Before") +
            QStringLiteral("</td>") + QStringLiteral("<td width=\"200\" >") +
            QCoreApplication::translate("MainWindow", "After") + QStringLiteral("</td>") +
            QStringLiteral("</tr>");
    for (int i = 0; i < records.size(); ++i) {
        const ThresholdCalibration &r = records.at(i);
        html += QStringLiteral("<tr>") + QStringLiteral("<td rowspan=\"2\">") + QString::number(i + 1) +
                QStringLiteral("</td>") + td(QCoreApplication::translate("MainWindow", "Time")) +
                td(recorderTimeText(r.timeBefore.data())) + td(recorderTimeText(r.timeAfter.data())) +
                QStringLiteral("</tr>");
        html += QStringLiteral("<tr>") + td(QCoreApplication::translate("MainWindow", "Threshold")) +
                td(bcdTimeText(r.before.data())) + td(bcdTimeText(r.after.data())) + QStringLiteral("</tr>");
    }
    html += closing;
    return html;
}

QString thresholdDumpLine(const ThresholdCalibration &r)
{
    return QStringLiteral("Time:") + recorderTimeText(r.timeBefore.data()) + QStringLiteral("-") +
           recorderTimeText(r.timeAfter.data()) + QStringLiteral("  ") + QStringLiteral("Thres:") +
           bcdTimeText(r.before.data()) + QStringLiteral("-") + bcdTimeText(r.after.data());
}

} // namespace

bool useNewTechnologyLayout(const uchar *data, quint32 size, QString *why)
{
    auto useNew = [why](const char *format, quint32 size, qint64 at) {
        if (why)
            *why = QString::asprintf(format, int(size), int(at));
        return true;
    };
    // The old layout puts the mileage count at 120; every count must lie before the end.
    const qint64 n = size > 122 ? (data[120] | (data[121] << 8)) : 0;
    const qint64 p = 122 + 58 * n;
    if (p >= size)
        return useNew("size over (%d / %d) in milc, use new", size, p);
    const qint64 q = p + 1 + 14 * qint64(data[p]);
    if (q >= size)
        return useNew("size over (%d / %d) in timc, use new", size, q);
    const qint64 r = q + 1 + 18 * qint64(data[q]);
    if (r >= size)
        return useNew("size over (%d / %d) in drvc, use new", size, r);
    const qint64 total = r + 1 + 18 * qint64(data[r]);
    if (total == size)
        return false;
    return useNew("size diff (%d / %d) use new", size, total);
}

TechnologyResult decodeTechnologyBlock(const uchar *data, quint32 size)
{
    QString why;
    const bool newLayout = useNewTechnologyLayout(data, size, &why);
    TechnologyResult result = decodeTechnologyBlock(data, size, newLayout);
    result.layoutNote = why;
    return result;
}

TechnologyResult decodeTechnologyBlock(const uchar *data, quint32 size, bool newLayout)
{
    TechnologyResult result;
    result.size = size;
    result.newLayout = newLayout;
    const qint64 d = result.deviceSize();
    auto fail = [&result](SizeError section, qint64 end) {
        result.failure = section;
        result.failedEnd = end;
        return result;
    };

    if (size < d)
        return fail(SizeError::Device, d);
    DeviceRecord &device = result.device;
    device.vendor = textField(data, 36);
    device.address = textField(data + 36, 36);
    device.serial = textField(data + 72, 8);
    device.firmware = bytesAt<4>(data + 80);
    device.installTime = bytesAt<7>(data + 84);
    device.mfdDate = bytesAt<4>(data + 91);
    device.certificate = textField(data + 95, newLayout ? 17 : 8);
    device.carNo = textField(data + (newLayout ? 112 : 103), 17);

    // Mileage calibrations: a u16 count.
    if (d + 2 > size)
        return fail(SizeError::MileageCalibrations, d + 2);
    result.mileageCount = data[d] | (data[d + 1] << 8);
    const qint64 t = d + 2 + qint64(kMileageRecordSize) * result.mileageCount;
    if (t > size)
        return fail(SizeError::MileageCalibrations, t);
    result.mileage.reserve(result.mileageCount);
    for (int i = 0; i < result.mileageCount; ++i) {
        const uchar *p = data + d + 2 + i * kMileageRecordSize;
        MileageCalibration record;
        record.op = textField(p, 36);
        record.before = bytesAt<4>(p + 36);
        record.after = bytesAt<4>(p + 40);
        record.timeBefore = bytesAt<7>(p + 44);
        record.timeAfter = bytesAt<7>(p + 51);
        result.mileage.append(record);
    }

    // Clock calibrations: a u8 count at t.
    if (t >= size)
        return fail(SizeError::ClockCalibrations, t + 1);
    result.clockCount = data[t];
    const qint64 r = t + 1 + qint64(kClockRecordSize) * result.clockCount;
    if (r > size)
        return fail(SizeError::ClockCalibrations, r);
    for (int i = 0; i < result.clockCount; ++i) {
        const uchar *p = data + t + 1 + i * kClockRecordSize;
        result.clock.append({bytesAt<7>(p), bytesAt<7>(p + 7)});
    }

    // Driving thresholds: a u8 count at r.
    if (r >= size)
        return fail(SizeError::DriveThresholds, r + 1);
    result.driveCount = data[r];
    const qint64 s = r + 1 + qint64(kThresholdRecordSize) * result.driveCount;
    if (s > size)
        return fail(SizeError::DriveThresholds, s);
    for (int i = 0; i < result.driveCount; ++i)
        result.drive.append(thresholdAt(data + r + 1 + i * kThresholdRecordSize));

    // Rest thresholds: a u8 count at s; the list must end the block exactly.
    if (s >= size)
        return fail(SizeError::RestThresholds, s + 1);
    result.restCount = data[s];
    const qint64 end = s + 1 + qint64(kThresholdRecordSize) * result.restCount;
    if (end != size)
        return fail(SizeError::RestThresholds, end);
    for (int i = 0; i < result.restCount; ++i)
        result.rest.append(thresholdAt(data + s + 1 + i * kThresholdRecordSize));
    return result;
}

QString bcdDateText(const uchar *p)
{
    const QDate date(100 * bcd(p[0]) + bcd(p[1]), bcd(p[2]), bcd(p[3]));
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QStringLiteral("----/--/--");
}

QString bcdTimeText(const uchar *p)
{
    const int hour = bcd(p[0]);
    const int minute = bcd(p[1]);
    if (hour > 23 || minute > 59)
        return QStringLiteral("hh:mm");
    return QTime(hour, minute).toString(QStringLiteral("hh:mm"));
}

QString bcdMileageText(const uchar *p)
{
    const int v = 1000000 * bcd(p[0]) + 10000 * bcd(p[1]) + 100 * bcd(p[2]) + bcd(p[3]);
    return QString::asprintf("%d.%d km", v / 10, v % 10);
}

QString firmwareVersionText(const uchar *p)
{
    return QString::number(p[0], 16) + QLatin1Char('.') + QString::number(p[1], 16) + QLatin1Char('.') +
           QString::number(p[2], 16);
}

QString certificateText(const TechnologyResult &result)
{
    return (result.newLayout ? QString() : QStringLiteral("C730519286404-")) + result.device.certificate;
}

QString deviceTableHtml(const TechnologyResult &result)
{
    const DeviceRecord &device = result.device;
    auto row = [](const QString &label, const QString &value) {
        return QStringLiteral("<tr><td>") + label + QStringLiteral("</td>") + QStringLiteral("<td>") + value +
               QStringLiteral("</td></tr>");
    };
    // The text fields come from the file: they are escaped so that a '<' or '&' in them
    // shows as itself instead of becoming markup.
    const QString certificate = certificateText(result).toHtmlEscaped();

    QString html;
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"600\" >");
    html += QStringLiteral("<tr><td colspan=\"2\">") +
            QCoreApplication::translate("MainWindow", "Devcie Info") + QStringLiteral("</td></tr>");
    html += QStringLiteral("<tr><td width=\"200\" >") + QCoreApplication::translate("MainWindow", "Vendor") +
            QStringLiteral("</td>") + QStringLiteral("<td width=\"400\" >") + device.vendor.toHtmlEscaped() +
            QStringLiteral("</td></tr>");
    html += row(QCoreApplication::translate("MainWindow", "Address"), device.address.toHtmlEscaped());
    html += row(QCoreApplication::translate("MainWindow", "Serial No."), device.serial.toHtmlEscaped());
    html += row(QCoreApplication::translate("MainWindow", "FW Version"),
                firmwareVersionText(device.firmware.data()));
    html += row(QCoreApplication::translate("MainWindow", "FW InstallTime"),
                recorderTimeText(device.installTime.data()));
    html += row(QCoreApplication::translate("MainWindow", "Mfd. Date"), bcdDateText(device.mfdDate.data()));
    html += row(QCoreApplication::translate("MainWindow", "Certificate No."), certificate);
    html += row(QCoreApplication::translate("MainWindow", "Car No."), device.carNo.toHtmlEscaped());
    html += QStringLiteral("</TABLE><br>");
    return html;
}

QString mileageTableHtml(const TechnologyResult &result)
{
    QString html;
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"700\" >");
    html += QStringLiteral("<tr><td colspan=\"4\">") +
            QCoreApplication::translate("MainWindow", "Calibrate Miles") + QStringLiteral("</td>") +
            QStringLiteral("    <td colspan=\"1\">") + QCoreApplication::translate("MainWindow", "Count:") +
            QString::number(result.mileageCount) + QStringLiteral("</td></tr>");
    html += QStringLiteral("<tr>") + QStringLiteral("<td width=\"80\"  >") +
            QCoreApplication::translate("MainWindow", "Index") + QStringLiteral("</td>") +
            QStringLiteral("<td width=\"120\" >") + QCoreApplication::translate("MainWindow", "Operator") +
            QStringLiteral("</td>") + QStringLiteral("<td width=\"100\" >") + QStringLiteral("-----") +
            QStringLiteral("</td>") + QStringLiteral("<td width=\"200\" >") +
            QCoreApplication::translate("MainWindow", "Before") + QStringLiteral("</td>") +
            QStringLiteral("<td width=\"200\" >") + QCoreApplication::translate("MainWindow", "After") +
            QStringLiteral("</td>") + QStringLiteral("</tr>");
    for (int i = 0; i < result.mileage.size(); ++i) {
        const MileageCalibration &r = result.mileage.at(i);
        html += QStringLiteral("<tr>") + QStringLiteral("<td rowspan=\"2\">") + QString::number(i + 1) +
                QStringLiteral("</td>") + QStringLiteral("<td rowspan=\"2\">") + r.op.toHtmlEscaped() +
                QStringLiteral("</td>") + td(QCoreApplication::translate("MainWindow", "Time")) +
                td(recorderTimeText(r.timeBefore.data())) + td(recorderTimeText(r.timeAfter.data())) +
                QStringLiteral("</tr>");
        html += QStringLiteral("<tr>") + td(QCoreApplication::translate("MainWindow", "Threshold")) +
                td(bcdMileageText(r.before.data())) + td(bcdMileageText(r.after.data())) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</TABLE><br>");
    return html;
}

QString clockTableHtml(const TechnologyResult &result)
{
    QString html;
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"480\" >");
    html += QStringLiteral("<tr><td colspan=\"2\" >") +
            QCoreApplication::translate("MainWindow", "Calibrate Time") + QStringLiteral("</td>") +
            countCell(result.clockCount);
    html += QStringLiteral("<tr>") + QStringLiteral("<td width=\"80\"  >") +
            QCoreApplication::translate("MainWindow", "Index") + QStringLiteral("</td>") +
            QStringLiteral("<td width=\"200\" >") + QCoreApplication::translate("MainWindow", "Before") +
            QStringLiteral("</td>") + QStringLiteral("<td width=\"200\" >") +
            QCoreApplication::translate("MainWindow", "After") + QStringLiteral("</td>") +
            QStringLiteral("</tr>");
    for (int i = 0; i < result.clock.size(); ++i) {
        const ClockCalibration &r = result.clock.at(i);
        html += QStringLiteral("<tr>") + td(QString::number(i + 1)) + td(recorderTimeText(r.before.data())) +
                td(recorderTimeText(r.after.data())) + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</TABLE><br>");
    return html;
}

QString driveThresholdTableHtml(const TechnologyResult &result)
{
    return thresholdTableHtml(QCoreApplication::translate("MainWindow", "Calibrate Drive THR"),
                              result.driveCount, result.drive, QStringLiteral("</TABLE><br>"));
}

QString restThresholdTableHtml(const TechnologyResult &result)
{
    return thresholdTableHtml(QCoreApplication::translate("MainWindow", "Calibrate Rest THR"),
                              result.restCount, result.rest, QStringLiteral("</TABLE>"));
}

QStringList technologyTablesHtml(const TechnologyResult &result)
{
    QStringList tables;
    if (result.failure == SizeError::Device)
        return tables;
    tables << deviceTableHtml(result);
    const struct
    {
        SizeError section;
        QString (*html)(const TechnologyResult &);
    } lists[] = {
        {SizeError::MileageCalibrations, mileageTableHtml},
        {SizeError::ClockCalibrations, clockTableHtml},
        {SizeError::DriveThresholds, driveThresholdTableHtml},
        {SizeError::RestThresholds, restThresholdTableHtml},
    };
    for (const auto &list : lists) {
        if (result.failure == list.section)
            break;
        tables << list.html(result);
    }
    return tables;
}

QString technologyDumpHeading()
{
    return QStringLiteral("======= Technology Data =======");
}

BlockDump technologyDump(const TechnologyResult &result)
{
    BlockDump dump;
    if (result.failure == SizeError::Device) {
        dump.lines << sizeErrorText(result.failure);
        dump.debugLine = QString::asprintf("Error-parseData_02_1 DataSize:%d  ofsset:%d ", int(result.size),
                                           result.deviceSize());
        return dump;
    }
    const DeviceRecord &device = result.device;
    dump.lines << QStringLiteral("Vendor:         ") + device.vendor
               << QStringLiteral("Address:        ") + device.address
               << QStringLiteral("SerialNo:       ") + device.serial
               << QStringLiteral("FW Version:     ") + textField(device.firmware.data(), 4)
               << QStringLiteral("FW InstallTime:") + recorderTimeText(device.installTime.data())
               << QStringLiteral("Mfd. Date:     ") + bcdDateText(device.mfdDate.data())
               << QStringLiteral("Certificate No:     ") + device.certificate
               << QStringLiteral("Car No:        ") + device.carNo;

    auto failed = [&](SizeError section, const char *line) {
        if (result.failure != section)
            return false;
        dump.lines << QLatin1String(line);
        dump.debugLine = QString::asprintf("Error-parseData_02_2 DataSize:%d  ofsset:%d ", int(result.size),
                                           int(result.failedEnd));
        return true;
    };

    if (failed(SizeError::MileageCalibrations, "Mile calibration Data Size Error"))
        return dump;
    dump.lines << QStringLiteral("Mile calibration ") + QStringLiteral("Count:") +
                      QString::number(result.mileageCount);
    for (const MileageCalibration &r : result.mileage)
        dump.lines << QStringLiteral("admin:") + r.op + QStringLiteral(" ") + QStringLiteral("mile:") +
                          bcdMileageText(r.before.data()) + QStringLiteral("-") +
                          bcdMileageText(r.after.data()) + QStringLiteral(" ") + QStringLiteral("Time:") +
                          recorderTimeText(r.timeBefore.data()) + QStringLiteral("-") +
                          recorderTimeText(r.timeAfter.data());

    if (failed(SizeError::ClockCalibrations, "Time calibration Data Size Error"))
        return dump;
    dump.lines << QStringLiteral("Time calibration ") + QStringLiteral("Count:") +
                      QString::number(result.clockCount);
    for (const ClockCalibration &r : result.clock)
        dump.lines << QStringLiteral("Time:") + recorderTimeText(r.before.data()) + QStringLiteral("-") +
                          recorderTimeText(r.after.data());

    if (failed(SizeError::DriveThresholds, "Driving THR calibration Data Size Error"))
        return dump;
    dump.lines << QStringLiteral("Driving THR calibration ") + QStringLiteral("Count:") +
                      QString::number(result.driveCount);
    for (const ThresholdCalibration &r : result.drive)
        dump.lines << thresholdDumpLine(r);

    if (failed(SizeError::RestThresholds, "Resting THR calibration Data Size Error"))
        return dump;
    dump.lines << QStringLiteral("Resting THR calibration ") + QStringLiteral("Count:") +
                      QString::number(result.restCount);
    for (const ThresholdCalibration &r : result.rest)
        dump.lines << thresholdDumpLine(r);
    return dump;
}

} // namespace vdr
