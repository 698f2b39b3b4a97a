// The serial link: connection, the choice of days and the download from the recorder.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/platform.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/frames.h"
#include "serial/recenttimewidget.h"
#include "serial/ztselectdatesdialog.h"
#include "serial/ztserialportdialog.h"
#include "vdr/dayfile.h"

#include <QDebug>
#include <QFileInfo>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTimer>

namespace {
// How long a link or recorder error stays on the waiting overlay.
constexpr int kErrorOverlayMs = 3000;
} // namespace

void MainWindow::setConnectionState(bool connected)
{
    ui->rs232->setText(connected ? tr("Disconnet...") : tr("Connet RS232..."));
    ui->importTar->setEnabled(!connected);
    ui->date->setVisible(connected);
    ui->recenttime->setVisible(connected);
}

void MainWindow::on_rs232_clicked()
{
    ZtSerialPortDialog dialog(this);
    if (serialPort.isOpen()) {
        QMessageBox box;
        box.setText(tr("Disconnecting Serial Port?"));
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        if (box.exec() == QMessageBox::Ok)
            disconnectSerialPort();
        return;
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    connectSerialPort(dialog, dialog.selectedPortName());
}

bool MainWindow::connectSerialPort(ZtSerialPortDialog &dialog, const QString &portName)
{
    if (!dialog.openSerialPortNamed(&serialPort, portName)) {
        QMessageBox box;
        box.setText(tr("SerialPort can not open"));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return false;
    }
    // Bytes left from an earlier connection are no part of this one's frames.
    serialRxBuffer.clear();
    connect(&serialPort, &QSerialPort::readyRead, this, &MainWindow::readyReadSlot, Qt::UniqueConnection);
    // The device went away (adapter pulled, peer closed): the port then reports a read or
    // resource error on every turn of the event loop. Handled like a link error once the
    // port's own notification is over, so the user gets a message and can connect again.
    if (!serialErrorConnection)
        serialErrorConnection = connect(
            &serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) &&
                    serialPort.isOpen())
                    serialLinkError();
            },
            Qt::QueuedConnection);
    setConnectionState(true);
    return true;
}

void MainWindow::disconnectSerialPort()
{
    serialPort.close();
    setConnectionState(false);
    if (download.running()) {
        hideLoading();
        closeDownload();
    }
}

void MainWindow::cancelDownload()
{
    disconnectSerialPort();
}

bool MainWindow::refuseDuringDownload(bool alsoWhileConnected)
{
    QString text;
    if (download.running())
        text = tr("A download is running: wait for its end or cancel it");
    else if (alsoWhileConnected && serialPort.isOpen())
        text = tr("Disconnect the serial port before opening a file");
    else
        return false;
    // Not showMessage: the download's overlay stays as it is.
    QMessageBox box;
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}

void MainWindow::on_date_clicked()
{
    platform::removeWorkingDirectory(workingDirPath);
    clearDateList();
    ZtSelectDatesDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    startRangeDownload(dialog.selectedStartDate(), dialog.selectedEndDate());
}

void MainWindow::startRangeDownload(const QDate &first, const QDate &last)
{
    platform::removeWorkingDirectory(workingDirPath);
    clearDateList();
    startDate = first;
    download.startRange(first, last);
    if (first.isValid())
        onCalendarDate_clicked(first);
    // Without a port nothing was asked for, and nothing will come.
    if (!serialPort.isOpen() || !first.isValid())
        closeDownload();
}

void MainWindow::onCalendarDate_clicked(QDate day)
{
    addDateListDay(day);
    clearAllPages();
    const QByteArray frame = download.requestDay(day);
    if (serialPort.isOpen())
        serialWrite(frame);
}

void MainWindow::on_recenttime_clicked()
{
    if (!recentTimeWidget) {
        recentTimeWidget = new RecentTimeWidget;
        connect(recentTimeWidget, &RecentTimeWidget::onRecentTime_signal, this,
                &MainWindow::onRecentTime_slot);
    }
    recentTimeWidget->show();
    recentTimeWidget->raise();
    recentTimeWidget->activateWindow();
}

void MainWindow::onRecentTime_slot(bool confirm)
{
    clearAllPages();
    ui->date_value->setText(QString());
    if (confirm && serialPort.isOpen())
        startRecentDownload(recentTimeWidget ? recentTimeWidget->hours() : 24);
    if (recentTimeWidget) {
        // The window may be emitting the signal that brought us here.
        recentTimeWidget->hide();
        recentTimeWidget->deleteLater();
        recentTimeWidget = nullptr;
    }
}

bool MainWindow::startRecentDownload(int hours)
{
    if (!serialPort.isOpen())
        return false;
    clearDateList();
    platform::removeWorkingDirectory(workingDirPath);
    startDate = QDate(); // not a range: no progress in days
    const QDate today = QDate::currentDate();
    const QByteArray frame = download.startRecentHours(today, hours);
    addDateListDay(today);
    serialWrite(frame);
    return true;
}

qint64 MainWindow::serialWrite(const QByteArray &frame)
{
    if (!serialPort.isOpen())
        return 0;
    if (isLogPageShown()) {
        appendLog(QStringLiteral("serial Write"), QColor(QStringLiteral("green")));
        ui->debugtextBrowser->append(serial::hexText(frame));
    }
    const qint64 written = serialPort.write(frame);
    // A request is outstanding: the recorder has until the time limit to answer.
    if (download.running())
        restartAnswerTimer();
    return written;
}

void MainWindow::restartAnswerTimer()
{
    if (!answerTimer) {
        answerTimer = new QTimer(this);
        answerTimer->setSingleShot(true);
        connect(answerTimer, &QTimer::timeout, this, [this] {
            if (download.running() && serialPort.isOpen())
                serialLinkError(tr("The recorder stopped answering at %1. Please check Serial port....")
                                    .arg(vdr::dayListText(download.currentDate())));
        });
    }
    answerTimer->start(answerTimeoutMs);
}

void MainWindow::readyReadSlot()
{
    const QByteArray bytes = serialPort.readAll();
    if (isLogPageShown()) {
        appendLog(QStringLiteral("serial read len:%1").arg(bytes.size()), QColor(QStringLiteral("blue")));
        ui->debugtextBrowser->append(serial::hexText(bytes));
    }
    if (bytes.isEmpty())
        return;
    if (download.running())
        restartAnswerTimer();
    serialRxBuffer.append(bytes);
    // Frames often arrive together; take every complete one now, as no further
    // notification comes for bytes that are already here.
    while (!serialRxBuffer.isEmpty() && parseSerialFrame(serialRxBuffer)) {
    }
}

bool MainWindow::parseSerialFrame(QByteArray &buffer)
{
    const serial::ParseStep step = serial::takeFrame(buffer);
    switch (step.kind) {
    case serial::ParseStep::NeedMore:
        return false;
    case serial::ParseStep::LinkError:
        serialLinkError();
        return false;
    case serial::ParseStep::RecorderError:
        serialRecorderError();
        return true;
    case serial::ParseStep::Frame:
        break;
    }
    const serial::ResponseFrame &frame = step.frame;
    // three lines, appended at once (this runs for every frame, shown or not)
    ui->debugtextBrowser->append(QStringLiteral("status:%1\npackID:%2\npayload_len:%3")
                                     .arg(frame.status)
                                     .arg(frame.packId)
                                     .arg(frame.payload.size()));
    if (!frame.checksumOk()) {
        appendLog(QString::asprintf("Error : Check sum head.checksum:%X ChkSum:%X", unsigned(frame.checksum),
                                    unsigned(frame.computed)),
                  QColor(QStringLiteral("red")));
    }
    runDownloadActions(download.handleFrame(frame));
    return true;
}

void MainWindow::runDownloadActions(const QVector<serial::DownloadAction> &actions)
{
    for (const serial::DownloadAction &action : actions) {
        switch (action.kind) {
        case serial::DownloadAction::ShowProgress:
            showLoading(action.text);
            // A range download also shows how many of its days are finished.
            if (startDate.isValid() && waitingWidget)
                waitingWidget->setProgress(int(startDate.daysTo(download.currentDate())),
                                           int(startDate.daysTo(download.endDate())) + 1);
            if (waitingWidget) {
                waitingWidget->setCancelShown(true);
                connect(waitingWidget, &ZtPopWaitingWidget::cancelRequested, this,
                        &MainWindow::cancelDownload, Qt::UniqueConnection);
            }
            break;
        case serial::DownloadAction::Send:
            serialWrite(action.bytes);
            break;
        case serial::DownloadAction::WriteDay:
            saveDownloadedDay(action.bytes);
            break;
        case serial::DownloadAction::RequestDay:
            onCalendarDate_clicked(action.day);
            break;
        case serial::DownloadAction::DebugLine:
            qDebug().noquote() << action.text;
            break;
        case serial::DownloadAction::Finish:
            hideLoading();
            closeDownload();
            on_date_comboBox_currentIndexChanged(0);
            break;
        }
    }
}

namespace {

// "2024/01/30, 2024/02/02 – 2024/02/05": the days, with runs of consecutive days shortened.
QString daysText(const QList<QDate> &days)
{
    QStringList parts;
    for (int i = 0; i < days.size();) {
        int last = i;
        while (last + 1 < days.size() && days[last].addDays(1) == days[last + 1])
            ++last;
        parts.append(last == i
                         ? vdr::dayListText(days[i])
                         : vdr::dayListText(days[i]) + QStringLiteral(" – ") + vdr::dayListText(days[last]));
        i = last + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

void MainWindow::closeDownload(const QString &reason)
{
    download.stop();
    if (answerTimer)
        answerTimer->stop();
    if (waitingWidget)
        waitingWidget->setCancelShown(false);

    // Every day got its entry when it was asked for; those without a file open nothing.
    {
        const QSignalBlocker quietList(ui->date_comboBox);
        for (int i = ui->date_comboBox->count() - 1; i >= 0; --i) {
            const QDate day = dateListDay(i);
            if (!QFileInfo(workingDirPath + QLatin1Char('/') + vdr::normalisedDayFileName(day)).isFile())
                ui->date_comboBox->removeItem(i);
        }
    }

    const QList<QDate> unwritten = download.unwrittenDays();
    QList<QDate> missing;
    for (const QDate &day : download.daysWithoutFile(workingDirPath)) {
        if (!unwritten.contains(day))
            missing.append(day);
    }
    QStringList lines;
    if (!reason.isEmpty())
        lines.append(reason);
    if (!unwritten.isEmpty())
        lines.append(tr("These days could not be written: %1").arg(daysText(unwritten)));
    if (!missing.isEmpty())
        lines.append(tr("These days were not downloaded: %1").arg(daysText(missing)));
    if (lines.size() == (reason.isEmpty() ? 0 : 1))
        return;
    const QString text = lines.join(QLatin1Char('\n'));
    // Shown once the notification that ended the download is handled, not in the middle of
    // it; after an error, once the error has been on the overlay for its time.
    QTimer::singleShot(reason.isEmpty() ? 0 : kErrorOverlayMs, this, [this, text] { showMessage(text); });
}

bool MainWindow::saveDownloadedDay(const QByteArray &data)
{
    const QDate day = download.currentDate();
    QString error;
    if (serial::writeDayFile(workingDirPath, day, data, &error))
        return true;
    download.noteUnwritten(day);
    appendLog(tr("Error : can not write %1").arg(vdr::normalisedDayFileName(day)) + QStringLiteral(" (") +
                  error + QLatin1Char(')'),
              QColor(QStringLiteral("red")));
    return false;
}

void MainWindow::serialRecorderError()
{
    const QString text = tr("Serial port error. Please try again later....");
    showLoading(text);
    download.resetAfterError();
    // The request failed: nothing more comes for it.
    if (download.running())
        closeDownload(text);
    QTimer::singleShot(kErrorOverlayMs, this, &MainWindow::hideLoading);
}

void MainWindow::serialLinkError(const QString &reason)
{
    const QString text = reason.isEmpty() ? tr("Serial port error. Please check Serial port....") : reason;
    showLoading(text);
    serialPort.close();
    setConnectionState(false);
    download.resetAfterError();
    serialRxBuffer.clear();
    if (download.running())
        closeDownload(text);
    QTimer::singleShot(kErrorOverlayMs, this, &MainWindow::hideLoading);
}
