// The "Technology" page (device record and calibration lists) and the car number.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "vdr/technology.h"

#include <QTextCursor>

void MainWindow::parseTechnologyData(const uchar *data, uint size)
{
    if (isLogPageShown())
        dumpTechnologyData(data, size);

    const vdr::TechnologyResult result =
        vdr::decodeTechnologyBlock(data, size, useNewTechnologyLayout(data, size));
    if (result.failure == vdr::TechnologyResult::VendorSection) {
        showMessage(result.message());
        return;
    }

    // Each table is one append, so each forms its own paragraph; the first failing list ends
    // the page with its message, the tables before it stay.
    ui->carno_value->setText(result.device.carNo);
    ui->techtextBrowser->append(vdr::deviceTableHtml(result));
    using Section = vdr::TechnologyResult::Section;
    const struct
    {
        Section section;
        QString (*html)(const vdr::TechnologyResult &);
    } lists[] = {
        {Section::MileageSection, vdr::mileageTableHtml},
        {Section::ClockSection, vdr::clockTableHtml},
        {Section::DriveSection, vdr::driveThresholdTableHtml},
        {Section::RestSection, vdr::restThresholdTableHtml},
    };
    for (const auto &list : lists) {
        if (result.failure == list.section) {
            showMessage(result.message());
            return;
        }
        ui->techtextBrowser->append(list.html(result));
    }
    ui->techtextBrowser->moveCursor(QTextCursor::Start);
}

void MainWindow::dumpTechnologyData(const uchar *data, uint size)
{
    appendLog(vdr::technologyDumpHeading(), QColor(QStringLiteral("blue")));
    const vdr::BlockDump dump =
        vdr::technologyDump(vdr::decodeTechnologyBlock(data, size, useNewTechnologyLayout(data, size)));
    for (const QString &line : dump.lines)
        appendLog(line, Qt::black);
    if (!dump.debugLine.isEmpty())
        qDebug("%s", qUtf8Printable(dump.debugLine));
}

bool MainWindow::useNewTechnologyLayout(const uchar *data, uint size) const
{
    return vdr::useNewTechnologyLayout(data, size);
}
