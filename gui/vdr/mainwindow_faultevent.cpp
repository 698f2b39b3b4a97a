// The "Fault & Event" page: the error table and the event table of the day.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/faultevent.h"

#include <QScrollBar>
#include <QTextCursor>

void MainWindow::parseFaultEventData(const char *data, uint size)
{
    parseFaultEventData(addLoneBlock(vdr::FaultEventBlock, data, size));
}

void MainWindow::parseFaultEventData(const vdr::BlockReport &block)
{
    if (isLogPageShown())
        dumpFaultEventData(block);
    for (const QString &table : vdr::faultEventTablesHtml(block.faultEvent))
        ui->eventtextBrowser->append(table);
    if (!block.ok()) {
        showMessage(block.message());
        return;
    }
    ui->eventtextBrowser->moveCursor(QTextCursor::Start);
}

void MainWindow::fillEventPage()
{
    QScrollBar *bar = ui->eventtextBrowser->verticalScrollBar();
    const int position = bar->value();
    ui->eventtextBrowser->clear();
    for (const vdr::BlockReport &block : qAsConst(day.blocks))
        if (block.info.dataId == vdr::FaultEventBlock)
            for (const QString &table : vdr::faultEventTablesHtml(block.faultEvent))
                ui->eventtextBrowser->append(table);
    ui->eventtextBrowser->moveCursor(QTextCursor::Start);
    bar->setValue(position);
}

void MainWindow::dumpFaultEventData(const vdr::BlockReport &block)
{
    showDump(vdr::faultEventDumpHeading(), vdr::faultEventDump(block.faultEvent));
}

QString MainWindow::faultTypeText(char type) const
{
    return vdr::faultTypeText(type);
}

QString MainWindow::durationText(const uchar *start, const uchar *end, bool isEvent, int type) const
{
    return vdr::faultDurationText(start, end, isEvent, type);
}
