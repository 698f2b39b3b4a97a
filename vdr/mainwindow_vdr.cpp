// Opening a day file: the name check, the container walk and the dispatch of each block to
// the decoder of its data type.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "vdr/container.h"
#include "vdr/dayfile.h"
#include "vdr/recordertime.h"

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
        ui->date_comboBox->addItem(vdr::dayListText(name.day));
    ui->date_value->setText(vdr::dayListText(name.day));

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
    setDisplayedDayFile(path, data);
    parseVdrContainer(data);
}

void MainWindow::parseVdrContainer(QByteArray &data)
{
    const vdr::ContainerWalk walk = vdr::walkContainer(data);
    qDebug("checksum caculate-result: 0x%x file-checksum: 0x%x", walk.computedChecksum, walk.fileChecksum);
    if (!walk.checksumOk()) {
        if (isLogPageShown()) {
            const QColor red(QStringLiteral("red"));
            appendLog(QStringLiteral("Error : Check sum "), red);
            appendLog(QString::asprintf("checksum caculate-result: 0x%x file-checksum: 0x%x",
                                        walk.computedChecksum, walk.fileChecksum),
                      red);
        } else {
            showMessage(tr("Error : Check sum"));
            return;
        }
    }

    qDebug("blockCnt : %d", walk.blockCount);
    const uchar *bytes = reinterpret_cast<const uchar *>(data.constData());
    auto logHeader = [](const vdr::BlockInfo &block) {
        qDebug("dataID    : %d", block.dataId);
        qDebug("blockName : %s", block.name.constData());
        qDebug("dataSize  : %d", int(block.dataSize));
    };
    for (const vdr::BlockInfo &block : walk.blocks) {
        logHeader(block);
        const uchar *blockData = bytes + block.dataOffset;
        switch (block.dataId) {
        case vdr::FaultEventBlock:
            parseFaultEventData(reinterpret_cast<const char *>(blockData), block.dataSize);
            break;
        case vdr::SpeedBlock:
            parseSpeedData(blockData, int(block.dataSize));
            break;
        case vdr::TechnologyBlock:
            parseTechnologyData(blockData, block.dataSize);
            break;
        case vdr::DrivingBlock:
            parseDrivingData(blockData, int(block.dataSize));
            break;
        case vdr::LocationBlock:
            parseLocationData(blockData, int(block.dataSize));
            break;
        default:
            qDebug("unknow dataID : %d", block.dataId);
            break;
        }
    }
    if (!walk.complete()) {
        if (walk.stop == vdr::ContainerWalk::DataTruncated)
            logHeader(walk.failedBlock);
        const QString problem = vdr::walkProblemText(walk);
        qDebug("walk stopped: %s", qUtf8Printable(problem));
        appendLog(QStringLiteral("Error : ") + problem, QColor(QStringLiteral("red")));
    }

    fitChartTimeRange();
    qDebug("offset : %d", int(walk.finalOffset));
    ui->verticalSlider->setValue(1);
    if (ui->tabWidget->currentWidget() == ui->tab_chart)
        QTimer::singleShot(0, this, &MainWindow::resetZtScrollAreaFixedWidth);

    if (!walk.complete())
        showMessage(
            tr("The file is damaged: it ends before all of its blocks. Only the blocks before the damage "
               "are shown."));
}

QString MainWindow::recorderTimeText(const uchar *p) const
{
    return vdr::recorderTimeText(p);
}

QDateTime MainWindow::recorderDateTime(const uchar *p) const
{
    return vdr::recorderDateTime(p);
}
