// The date list, folder import and tar archive import.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/import/dayimport.h"
#include "core/platform/platform.h"
#include "core/vdr/dayfile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTimer>

void MainWindow::on_date_comboBox_currentIndexChanged(int index)
{
    const QDate day = dateListDay(ui->date_comboBox->currentIndex());
    if (!day.isValid())
        return;
    const QString path = workingDirPath + QLatin1Char('/') + vdr::normalisedDayFileName(day);
    if (!QFileInfo(path).isFile())
        return;
    currentFilePath = path;
    showLoading(tr("Opening file, please wait....."));
    // Let the overlay paint before the file is read.
    QTimer::singleShot(100, this, &MainWindow::OnParseVDRFileLater);
    qDebug("on_date_comboBox_currentIndexChanged %d", index);
}

void MainWindow::on_importFloder_clicked()
{
    importFolder(
        QFileDialog::getExistingDirectory(this, tr("Choose Folder"), QString(), QFileDialog::ShowDirsOnly));
}

void MainWindow::importFolder(const QString &dir)
{
    if (dir.isEmpty())
        return;
    addRecent(dir);
    importDayFolder(dir, true);
}

void MainWindow::importDayFolder(const QString &dir, bool followLinks)
{
    const dayimport::FolderListing listing =
        dayimport::listFolder(dir, followLinks ? dayimport::Links::Follow : dayimport::Links::Skip);
    if (listing.vdrFiles.isEmpty()) {
        showMessage(tr("Please select have 'vdr' files folder"));
        return;
    }

    const QColor red(QStringLiteral("red"));
    // The list stays quiet while it is refilled: an entry must not open its day before the
    // day's file has been copied. The first day is opened explicitly at the end.
    const QSignalBlocker quietList(ui->date_comboBox);
    clearDateList();
    platform::removeWorkingDirectory(workingDirPath);
    if (!QDir().mkpath(workingDirPath))
        appendLog(QStringLiteral("Can not create the working directory ") + workingDirPath, red);
    clearAllPages();

    QStringList failedDays;
    for (const dayimport::DayFile &file : listing.days) {
        const QString source = dir + QLatin1Char('/') + file.name;
        const QString target = workingDirPath + QLatin1Char('/') + vdr::normalisedDayFileName(file.day);
        const dayimport::CopyResult copy = dayimport::copyDayFile(source, target);
        if (copy.kind == dayimport::CopyResult::Failed) {
            const QString line = QStringLiteral("Copy failed: %1 -> %2: %3").arg(source, target, copy.error);
            qDebug("%s", qUtf8Printable(line));
            appendLog(line, red);
            failedDays << QStringLiteral("%1  (%2)").arg(vdr::dayListText(file.day), file.name);
            continue;
        }
        // A second file of a day already copied adds the day again; both entries open the
        // file copied first.
        addDateListDay(file.day);
    }

    if (!failedDays.isEmpty())
        showMessage(tr("These days could not be imported:") + QLatin1Char('\n') +
                    failedDays.join(QLatin1Char('\n')));
    if (ui->date_comboBox->count() > 0)
        on_date_comboBox_currentIndexChanged(0);
}

void MainWindow::on_importTar_clicked()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Tar archive(*.tar)"), tr("All files(*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    importTarArchive(dialog.selectedFiles().first());
}

void MainWindow::importTarArchive(const QString &path)
{
    if (path.isEmpty())
        return;
    // The name is checked before anything is cleared: a refused archive leaves the day on
    // display, the date list and the working directories as they were.
    const QString fileName = QFileInfo(path).fileName();
    const vdr::DayNameCheck name = vdr::checkDayFileName(fileName);
    if (!name.ok()) {
        appendLog(QStringLiteral("***Tar***") + fileName, QColor(QStringLiteral("green")));
        hideLoading();
        const QString error =
            name.threeParts ? tr("File name formate error") : tr("Tar File name formate error");
        showMessage(error + QLatin1Char('\n') +
                    tr("The name must look like %1").arg(QStringLiteral("D20240131__.tar")));
        return;
    }
    addRecent(path);
    platform::removeWorkingDirectory(archiveDirPath);
    clearDateList();
    tarFilePath = path;
    showLoading(tr("Opening file, please wait....."));
    // Let the overlay paint before the archiver blocks the window.
    QTimer::singleShot(100, this, &MainWindow::OnParseTarFileLater);
}

void MainWindow::OnParseTarFileLater()
{
    if (tarFilePath.isEmpty())
        return;
    const QString path = tarFilePath;
    // Consumed whatever the outcome: a later timer must not unpack the same archive again.
    tarFilePath.clear();

    clearAllPages();
    const QString fileName = QFileInfo(path).fileName();
    const QColor green(QStringLiteral("green"));
    const QColor red(QStringLiteral("red"));
    appendLog(QStringLiteral("***Tar***") + fileName, green);

    const QString archiver = platform::archiverProgram();
    qDebug("%s",
           qUtf8Printable(dayimport::commandText(
               archiver.isEmpty() ? platform::archiverBesideProgram() : archiver, path, archiveDirPath)));
    const dayimport::UnpackResult unpack = dayimport::unpackArchive(archiver, path, archiveDirPath);

    QStringList refusal;
    switch (unpack.status) {
    case dayimport::UnpackResult::UnsafeEntries:
        for (const QString &entry : unpack.refusedEntries)
            refusal << QStringLiteral("Refused archive entry outside the archive directory: ") + entry;
        break;
    case dayimport::UnpackResult::OversizedDayFiles:
        for (const QString &entry : unpack.refusedEntries)
            refusal << QStringLiteral("Refused archive entry larger than %1 bytes: %2")
                           .arg(QString::number(dayimport::kMaxDayFileSize), entry);
        break;
    case dayimport::UnpackResult::TooLarge:
        refusal << QStringLiteral("Refused archive: it unpacks to %1 bytes, more than the %2 bytes allowed")
                       .arg(unpack.listedSize)
                       .arg(unpack.sizeLimit);
        break;
    default:
        break;
    }
    if (!refusal.isEmpty()) {
        for (const QString &line : qAsConst(refusal)) {
            qDebug("%s", qUtf8Printable(line));
            appendLog(line, red);
        }
        showMessage(tr("Open Tar File error"));
        return;
    }
    if (!unpack.ok()) {
        appendLog(QStringLiteral("7za error code:") + QString::number(unpack.exitCode), green);
        if (!unpack.archiverMessage.isEmpty()) {
            qDebug("archiver: %s", qUtf8Printable(unpack.archiverMessage));
            appendLog(unpack.archiverMessage, red);
        }
        showMessage(tr("Open Tar File error"));
        return;
    }
    for (const QString &link : unpack.removedLinks)
        appendLog(QStringLiteral("Link removed from the unpacked archive: ") + link, red);

    importDayFolder(archiveDirPath, false);
    // When no day is opened (every name skipped) nothing else would take the overlay away.
    if (currentFilePath.isEmpty())
        hideLoading();
}

void MainWindow::addDateListDay(const QDate &day)
{
    ui->date_comboBox->addItem(vdr::dayListText(day), day);
}

QDate MainWindow::dateListDay(int index) const
{
    return ui->date_comboBox->itemData(index).toDate();
}

void MainWindow::clearDateList()
{
    ui->date_comboBox->clear();
    // A day chosen less than 100 ms ago would otherwise still be opened, and would put
    // itself back into the emptied list.
    currentFilePath.clear();
}
