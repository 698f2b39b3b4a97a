// Opening a day file: the name check, the container walk and the dispatch of each block to
// the decoder of its data type.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/container.h"
#include "core/vdr/dayfile.h"
#include "core/vdr/recordertime.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

void MainWindow::on_openfile_clicked()
{
    const QString path =
        QFileDialog::getOpenFileName(nullptr, QString(), QString(), tr("Binary data(*.vdr )"));
    if (path.isEmpty())
        return;
    openFileLater(path);
}

void MainWindow::openFileLater(const QString &path)
{
    addRecent(path);
    clearDateList();
    currentFilePath = path;
    showLoading(tr("Opening file, please wait....."));
    // Let the overlay paint before the file is read.
    QTimer::singleShot(100, this, &MainWindow::OnParseVDRFileLater);
}

void MainWindow::OnParseVDRFileLater()
{
    if (!currentFilePath.isEmpty())
        readVdrFile(currentFilePath);
    currentFilePath.clear();
    hideLoading();
}

void MainWindow::readVdrFile(const QString &path)
{
    clearAllPages();

    const QString fileName = QFileInfo(path).fileName();
    if (isLogPageShown())
        appendLog(fileName, QColor(QStringLiteral("green")));

    const vdr::DayNameCheck name = vdr::checkDayFileName(fileName);
    if (!name.ok()) {
        showMessage(tr("File name formate error"));
        return;
    }
    if (ui->date_comboBox->count() == 0)
        addDateListDay(name.day);
    ui->date_value->setText(vdr::dayListText(name.day));
    // The day is on display from here on, even when its file cannot be read.
    day.fileName = fileName;
    day.name = name;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(tr("Can not open file"));
        return;
    }
    QByteArray data = file.readAll();
    file.close();
    if (data.isEmpty()) {
        showMessage(tr("No data in the file !!"));
        return;
    }
    parseVdrContainer(data, path);
}

void MainWindow::parseVdrContainer(QByteArray &data, const QString &path)
{
    // The day is decoded here, once; from here on every step reads the model. The window's
    // model takes each block as its page shows it, so that it always holds what the pages show.
    // A message box runs the event loop, in which another day may be opened: then this one stops.
    const vdr::DayReport decoded = vdr::analyseDayFile(QFileInfo(path).fileName(), data);
    day = decoded;
    day.blocks.clear();
    day.driverChanges.clear();
    const quint64 generation = dayGeneration;
    const vdr::ContainerWalk &walk = decoded.walk;
    qDebug("checksum caculate-result: 0x%x file-checksum: 0x%x", walk.computedChecksum, walk.fileChecksum);
    if (!walk.checksumOk()) {
        if (isLogPageShown()) {
            const QColor red(QStringLiteral("red"));
            appendLog(QStringLiteral("Error : Check sum "), red);
            appendLog(QString::asprintf("checksum caculate-result: 0x%x file-checksum: 0x%x",
                                        walk.computedChecksum, walk.fileChecksum),
                      red);
        } else {
            // Nothing of the file is shown: the model keeps the day, the checksum and the walk,
            // and no block.
            showMessage(tr("Error : Check sum"));
            return;
        }
    }
    setDisplayedDayFile(path);

    qDebug("blockCnt : %d", walk.blockCount);
    auto logHeader = [](const vdr::BlockInfo &block) {
        qDebug("dataID    : %d", block.dataId);
        qDebug("blockName : %s", block.name.constData());
        qDebug("dataSize  : %d", int(block.dataSize));
    };
    // The page of each data type.
    void (MainWindow::*const pages[])(const vdr::BlockReport &) = {
        &MainWindow::parseFaultEventData, &MainWindow::parseSpeedData, &MainWindow::parseTechnologyData,
        &MainWindow::parseDrivingData, &MainWindow::parseLocationData};
    for (const vdr::BlockReport &block : decoded.blocks) {
        logHeader(block.info);
        day.addBlock(block);
        if (block.known())
            (this->*pages[block.info.dataId])(block);
        else
            qDebug("unknow dataID : %d", block.info.dataId);
        if (generation != dayGeneration)
            return;
    }
    if (!walk.complete()) {
        if (walk.stop == vdr::ContainerWalk::DataTruncated)
            logHeader(walk.failedBlock);
        const QString problem = vdr::walkProblemText(walk);
        qDebug("walk stopped: %s", qUtf8Printable(problem));
        appendLog(QStringLiteral("Error : ") + problem, QColor(QStringLiteral("red")));
    }

    fitChartTimeRange();
    updateWindowTitle(); // with the car number of the day's device record
    qDebug("offset : %d", int(walk.finalOffset));
    ui->verticalSlider->setValue(1);
    if (ui->tabWidget->currentWidget() == ui->tab_chart)
        QTimer::singleShot(0, this, &MainWindow::resetZtScrollAreaFixedWidth);

    if (!walk.complete())
        showMessage(
            tr("The file is damaged: it ends before all of its blocks. Only the blocks before the damage "
               "are shown."));
}

vdr::BlockReport MainWindow::addLoneBlock(quint8 dataId, const void *data, quint32 size)
{
    vdr::BlockInfo info;
    info.dataId = dataId;
    info.dataSize = size;
    day.addBlock(vdr::decodeBlock(info, static_cast<const uchar *>(data)));
    return day.blocks.constLast();
}

void MainWindow::showDump(const QString &heading, const vdr::BlockDump &dump)
{
    appendLog(heading, QColor(QStringLiteral("blue")));
    for (const QString &line : dump.lines)
        appendLog(line, Qt::black);
    if (!dump.debugLine.isEmpty())
        qDebug("%s", qUtf8Printable(dump.debugLine));
}

QString MainWindow::recorderTimeText(const uchar *p) const
{
    return vdr::recorderTimeText(p);
}

QDateTime MainWindow::recorderDateTime(const uchar *p) const
{
    return vdr::recorderDateTime(p);
}
