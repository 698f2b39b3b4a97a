// The "Fault & Event" page: the error table and the event table of the day.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "vdr/faultevent.h"

#include <QTextCursor>

void MainWindow::parseFaultEventData(const char *data, uint size)
{
    if (isLogPageShown())
        dumpFaultEventData(data, size);

    const vdr::FaultEventResult result =
        vdr::decodeFaultEventBlock(reinterpret_cast<const uchar *>(data), size);
    if (result.failure == vdr::FaultEventResult::ErrorSectionSize) {
        showMessage(result.message());
        return;
    }
    ui->eventtextBrowser->append(vdr::errorTableHtml(result));
    if (result.failure == vdr::FaultEventResult::EventSectionSize) {
        showMessage(result.message());
        return;
    }
    ui->eventtextBrowser->append(vdr::eventTableHtml(result));
    ui->eventtextBrowser->moveCursor(QTextCursor::Start);
}

void MainWindow::dumpFaultEventData(const char *data, uint size)
{
    appendLog(vdr::faultEventDumpHeading(), QColor(QStringLiteral("blue")));
    const vdr::BlockDump dump =
        vdr::faultEventDump(vdr::decodeFaultEventBlock(reinterpret_cast<const uchar *>(data), size));
    for (const QString &line : dump.lines)
        appendLog(line, Qt::black);
    if (!dump.debugLine.isEmpty())
        qDebug("%s", qUtf8Printable(dump.debugLine));
}

QString MainWindow::faultTypeText(char type) const
{
    return vdr::faultTypeText(type);
}

QString MainWindow::durationText(const uchar *start, const uchar *end, bool isEvent, int type) const
{
    return vdr::faultDurationText(start, end, isEvent, type);
}
