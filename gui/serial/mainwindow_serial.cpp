// The serial link: connection, the choice of days, and what the window shows of the
// download session that fetches the days from the recorder.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/platform/platform.h"
#include "core/serial/frames.h"
#include "core/serial/serialport.h"
#include "core/vdr/dayfile.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/serial/recenttimewidget.h"
#include "gui/serial/ztselectdatesdialog.h"
#include "gui/serial/ztserialportdialog.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTimer>

namespace {
// How long a link or recorder error stays on the waiting overlay.
constexpr int kErrorOverlayMs = 3000;
} // namespace

void MainWindow::setupSerialLink()
{
    using serial::DownloadSession;
    downloadSession.setDirectory(workingDirPath);
    // The traffic on the log page while it is shown: every request, every read.
    connect(&downloadSession, &DownloadSession::sent, this, [this](const QByteArray &frame) {
        if (isLogPageShown()) {
            appendLog(QStringLiteral("serial Write"), QColor(QStringLiteral("green")));
            ui->debugtextBrowser->append(serial::hexText(frame));
        }
    });
    connect(&downloadSession, &DownloadSession::received, this, [this](const QByteArray &bytes) {
        if (isLogPageShown()) {
            appendLog(QStringLiteral("serial read len:%1").arg(bytes.size()), QColor(QStringLiteral("blue")));
            ui->debugtextBrowser->append(serial::hexText(bytes));
        }
    });
    connect(&downloadSession, &DownloadSession::frameTaken, this, [this](const serial::ResponseFrame &frame) {
        // three lines, appended at once (this runs for every frame, shown or not)
        ui->debugtextBrowser->append(QStringLiteral("status:%1\npackID:%2\npayload_len:%3")
                                         .arg(frame.status)
                                         .arg(frame.packId)
                                         .arg(frame.payload.size()));
        if (!frame.checksumOk()) {
            appendLog(QString::asprintf("Error : Check sum head.checksum:%X ChkSum:%X",
                                        unsigned(frame.checksum), unsigned(frame.computed)),
                      QColor(QStringLiteral("red")));
        }
    });
    connect(&downloadSession, &DownloadSession::dayRequested, this, &MainWindow::onDayRequested);
    connect(&downloadSession, &DownloadSession::progress, this, &MainWindow::onDownloadProgress);
    connect(&downloadSession, &DownloadSession::dayNotWritten, this,
            [this](const QDate &day, const QString &error) {
                appendLog(tr("Error : can not write %1").arg(vdr::normalisedDayFileName(day)) +
                              QStringLiteral(" (") + error + QLatin1Char(')'),
                          QColor(QStringLiteral("red")));
            });
    connect(&downloadSession, &DownloadSession::error, this, &MainWindow::onSerialError);
    connect(&downloadSession, &DownloadSession::finished, this, &MainWindow::closeDownload);
}

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
    serialPortOpened(dialog.openSerialPort(&serialPort));
}

bool MainWindow::connectSerialPort(const serial::PortSettings &settings)
{
    return serialPortOpened(serial::openPort(serialPort, settings));
}

bool MainWindow::serialPortOpened(bool opened)
{
    if (!opened) {
        QMessageBox box;
        box.setText(tr("SerialPort can not open"));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return false;
    }
    // Bytes left from an earlier connection are no part of this one's frames.
    downloadSession.setDevice(&serialPort);
    connect(&serialPort, &QSerialPort::readyRead, this, &MainWindow::readyReadSlot, Qt::UniqueConnection);
    // The device went away (adapter pulled, peer closed): the port then reports a read or
    // resource error on every turn of the event loop; the session ends the link once.
    if (!serialErrorConnection)
        serialErrorConnection = serial::reportPortErrors(serialPort, downloadSession);
    setConnectionState(true);
    return true;
}

// Reads what the port has into serialRxBuffer and takes every whole frame from it.
void MainWindow::readyReadSlot()
{
    downloadSession.readAvailable();
}

void MainWindow::disconnectSerialPort()
{
    serialPort.close();
    setConnectionState(false);
    if (downloadSession.running()) {
        hideLoading();
        downloadSession.cancel();
    }
}

void MainWindow::cancelDownload()
{
    disconnectSerialPort();
}

bool MainWindow::refuseDuringDownload(bool alsoWhileConnected)
{
    QString text;
    if (downloadSession.running())
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
    // Without a port the first day is named but nothing asked for, and the download ends.
    downloadSession.startRange(first, last);
}

void MainWindow::onCalendarDate_clicked(QDate day)
{
    downloadSession.requestDay(day);
}

// A day is about to be requested: it gets its date list entry (whether or not the recorder
// has data for it) and the pages are cleared; the session then sends the request.
void MainWindow::onDayRequested(const QDate &day)
{
    addDateListDay(day);
    clearAllPages();
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
    addDateListDay(today);
    return downloadSession.startRecentHours(today, hours);
}

qint64 MainWindow::serialWrite(const QByteArray &frame)
{
    return downloadSession.send(frame);
}

bool MainWindow::parseSerialFrame(QByteArray &buffer)
{
    return downloadSession.parseFrame(buffer);
}

bool MainWindow::saveDownloadedDay(const QByteArray &data)
{
    return downloadSession.writeDay(downloadSession.download().currentDate(), data);
}

void MainWindow::onDownloadProgress(const QString &text)
{
    showLoading(text);
    // A range download also shows how many of its days are finished.
    const serial::Download &download = downloadSession.download();
    if (startDate.isValid() && waitingWidget)
        waitingWidget->setProgress(int(startDate.daysTo(download.currentDate())),
                                   int(startDate.daysTo(download.endDate())) + 1);
    if (waitingWidget) {
        waitingWidget->setCancelShown(true);
        connect(waitingWidget, &ZtPopWaitingWidget::cancelRequested, this, &MainWindow::cancelDownload,
                Qt::UniqueConnection);
    }
}

QString MainWindow::downloadFailureText(serial::Failure failure, const QDate &day) const
{
    switch (failure) {
    case serial::Failure::None:
    case serial::Failure::Cancelled:
    case serial::Failure::NoDevice:
        return QString();
    case serial::Failure::RecorderError:
        return tr("Serial port error. Please try again later....");
    case serial::Failure::NoAnswer:
        return tr("The recorder stopped answering at %1. Please check Serial port....")
            .arg(vdr::dayListText(day));
    case serial::Failure::NotSent:
    case serial::Failure::NoFrame:
    case serial::Failure::DeviceError:
        break;
    }
    return tr("Serial port error. Please check Serial port....");
}

// A link error closes the port; after the recorder's error frame it stays open. Either way
// the text stays on the overlay for a while.
void MainWindow::onSerialError(serial::Failure failure)
{
    showLoading(downloadFailureText(failure, downloadSession.download().currentDate()));
    if (failure != serial::Failure::RecorderError) {
        serialPort.close();
        setConnectionState(false);
    }
    QTimer::singleShot(kErrorOverlayMs, this, &MainWindow::hideLoading);
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

void MainWindow::closeDownload(const serial::DownloadResult &result)
{
    const bool done = result.failure == serial::Failure::None;
    if (done)
        hideLoading();
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

    const QString reason = downloadFailureText(result.failure, result.day);
    QStringList lines;
    if (!result.unwritten.isEmpty())
        lines.append(tr("These days could not be written: %1").arg(daysText(result.unwritten)));
    if (!result.missing.isEmpty())
        lines.append(tr("These days were not downloaded: %1").arg(daysText(result.missing)));
    if (!lines.isEmpty()) {
        if (!reason.isEmpty())
            lines.prepend(reason);
        const QString text = lines.join(QLatin1Char('\n'));
        // Shown once the notification that ended the download is handled, not in the middle
        // of it; after an error, once the error has been on the overlay for its time.
        QTimer::singleShot(reason.isEmpty() ? 0 : kErrorOverlayMs, this, [this, text] { showMessage(text); });
    }
    if (done)
        on_date_comboBox_currentIndexChanged(0);
}
