// The "Technology" page (device record and calibration lists) and the car number.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/technology.h"

#include <QScrollBar>
#include <QTextCursor>

void MainWindow::parseTechnologyData(const uchar *data, uint size)
{
    parseTechnologyData(addLoneBlock(vdr::TechnologyBlock, data, size));
}

void MainWindow::parseTechnologyData(const vdr::BlockReport &block)
{
    if (isLogPageShown())
        dumpTechnologyData(block);
    const vdr::TechnologyResult &result = block.technology;
    if (!result.layoutNote.isEmpty()) // the layout is chosen for the page as for the dump
        qDebug("%s", qUtf8Printable(result.layoutNote));

    // Each table is one append, so each forms its own paragraph; the first failing list ends
    // the page with its message, the tables before it stay.
    if (result.failure != vdr::SizeError::Device) {
        ui->carno_value->setTextFormat(Qt::PlainText);
        ui->carno_value->setText(result.device.carNo);
    }
    for (const QString &table : vdr::technologyTablesHtml(result))
        ui->techtextBrowser->append(table);
    if (!block.ok()) {
        showMessage(block.message());
        return;
    }
    ui->techtextBrowser->moveCursor(QTextCursor::Start);
}

void MainWindow::fillTechnologyPage()
{
    QScrollBar *bar = ui->techtextBrowser->verticalScrollBar();
    const int position = bar->value();
    ui->techtextBrowser->clear();
    for (const vdr::BlockReport &block : qAsConst(day.blocks))
        if (block.info.dataId == vdr::TechnologyBlock)
            for (const QString &table : vdr::technologyTablesHtml(block.technology))
                ui->techtextBrowser->append(table);
    ui->techtextBrowser->moveCursor(QTextCursor::Start);
    bar->setValue(position);
}

void MainWindow::dumpTechnologyData(const vdr::BlockReport &block)
{
    const vdr::TechnologyResult &result = block.technology;
    appendLog(vdr::technologyDumpHeading(), QColor(QStringLiteral("blue")));
    if (!result.layoutNote.isEmpty())
        qDebug("%s", qUtf8Printable(result.layoutNote));
    const vdr::BlockDump dump = vdr::technologyDump(result);
    for (const QString &line : dump.lines)
        appendLog(line, Qt::black);
    if (!dump.debugLine.isEmpty())
        qDebug("%s", qUtf8Printable(dump.debugLine));
}

bool MainWindow::useNewTechnologyLayout(const uchar *data, uint size) const
{
    QString why;
    const bool useNew = vdr::useNewTechnologyLayout(data, size, &why);
    if (!why.isEmpty())
        qDebug("%s", qUtf8Printable(why));
    return useNew;
}
