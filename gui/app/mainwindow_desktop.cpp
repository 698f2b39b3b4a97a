// What a desktop program is expected to do besides its buttons: files and folders dropped on
// the window, the table export, and keyboard shortcuts.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/dayreport.h"
#include "core/vdr/tableexport.h"
#include "gui/period/periodpage.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

namespace {

// The table(s) a page shows, false for a page without one.
bool pageTable(const Ui::MainWindow *ui, QWidget *page, vdr::ExportTable *table)
{
    const struct
    {
        QWidget *page;
        vdr::ExportTable table;
    } pages[] = {
        {ui->tab_event, vdr::ExportTable::Events},       {ui->tab_speed, vdr::ExportTable::Speed},
        {ui->tab_speed2, vdr::ExportTable::Speed},       {ui->tab_driver, vdr::ExportTable::Driver},
        {ui->tab_tech, vdr::ExportTable::Technology},    {ui->tab_location, vdr::ExportTable::Location},
        {ui->tab_location2, vdr::ExportTable::Location},
    };
    for (const auto &entry : pages) {
        if (entry.page == page) {
            *table = entry.table;
            return true;
        }
    }
    return false;
}

} // namespace

void MainWindow::setupDesktopConveniences()
{
    setAcceptDrops(true);

    exportAction = new QAction(this);
    exportAction->setObjectName(QStringLiteral("exportTableAction"));
    ui->menuTool->addAction(exportAction);
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportTableChosen);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::updateExportAction);

    ui->actionPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // Window-wide shortcuts without a menu entry of their own.
    auto addShortcut = [this](const QKeySequence &keys, const char *name, auto slot) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), "openFileShortcut", [this] {
        if (!refuseDuringDownload(true))
            on_openfile_clicked();
    });
    addShortcut(QKeySequence(Qt::Key_F5), "reloadShortcut", [this] { reloadCurrentDay(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), "quitShortcut", [this] {
        if (close())
            QCoreApplication::quit();
    });
    addShortcut(QKeySequence(Qt::Key_PageUp), "previousDayShortcut", [this] { stepDateList(-1); });
    addShortcut(QKeySequence(Qt::Key_PageDown), "nextDayShortcut", [this] { stepDateList(1); });

    retranslateDesktopTexts();
    updateExportAction();
}

void MainWindow::retranslateDesktopTexts()
{
    if (exportAction)
        exportAction->setText(tr("Export table…"));
}

void MainWindow::setDisplayedDayFile(const QString &path)
{
    displayedFilePath = path;
    updateExportAction();
}

void MainWindow::updateExportAction()
{
    if (!exportAction)
        return;
    vdr::ExportTable table;
    if (isPeriodPageCurrent()) {
        exportAction->setEnabled(periodPage->hasReport());
        return;
    }
    exportAction->setEnabled(!displayedFilePath.isEmpty() &&
                             pageTable(ui, ui->tabWidget->currentWidget(), &table));
}

bool MainWindow::exportCurrentPage(const QString &path, QString *error)
{
    vdr::ExportTable table;
    const bool period = isPeriodPageCurrent() && periodPage->hasReport();
    if (!period && (displayedFilePath.isEmpty() || !pageTable(ui, ui->tabWidget->currentWidget(), &table))) {
        if (error)
            *error = QStringLiteral("no table on this page");
        return false;
    }
    // The rows of the day model in the export's texts, whatever the window's language: a table
    // exported here is the same file as `tavrin-vdr export` makes, so that programs reading it
    // need one format. The "Period" page exports its findings in the columns of the core's
    // findings table, which `tavrin-vdr report --csv` fills its finding rows from; their texts
    // are those the page shows.
    const QByteArray csv =
        period ? periodPage->findingsCsv() : vdr::csvDocument(vdr::exportRows(dayModel(), table));
    // Written whole or not at all.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void MainWindow::exportTableChosen()
{
    vdr::ExportTable table;
    QString name;
    if (isPeriodPageCurrent() && periodPage->hasReport()) {
        const period::PeriodReport &report = periodPage->report();
        name = QStringLiteral("findings_%1_%2.csv")
                   .arg(report.first.toString(QStringLiteral("yyyyMMdd")),
                        report.last.toString(QStringLiteral("yyyyMMdd")));
    } else if (pageTable(ui, ui->tabWidget->currentWidget(), &table) && !displayedFilePath.isEmpty()) {
        name = QStringLiteral("%1_%2.csv")
                   .arg(QFileInfo(displayedFilePath).completeBaseName(),
                        vdr::exportTableNames().value(int(table)));
    } else {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Export table"), name, tr("CSV files(*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportCurrentPage(path, &error))
        showMessage(tr("Can not write %1").arg(path) + QLatin1Char('\n') + error);
}

void MainWindow::reloadCurrentDay()
{
    if (refuseDuringDownload(false))
        return;
    if (displayedFilePath.isEmpty())
        return;
    // A day of the date list is opened through the list, which it keeps.
    if (QFileInfo(displayedFilePath).absolutePath() == QFileInfo(workingDirPath).absoluteFilePath() &&
        ui->date_comboBox->currentIndex() >= 0)
        on_date_comboBox_currentIndexChanged(ui->date_comboBox->currentIndex());
    else
        openFileLater(displayedFilePath);
}

void MainWindow::stepDateList(int step)
{
    if (refuseDuringDownload(false))
        return;
    const int index = ui->date_comboBox->currentIndex() + step;
    if (index >= 0 && index < ui->date_comboBox->count())
        ui->date_comboBox->setCurrentIndex(index);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    // Any list of files is taken, so that what cannot be opened gets an answer on the drop.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    enum
    {
        Refused,
        Connected,
        DayFile,
        Folder,
        TarArchive
    } kind = Refused;
    QString path;
    if (serialPort.isOpen()) {
        // Every kind of drop replaces the date list that the download fills.
        kind = Connected;
    } else if (urls.size() == 1 && urls.first().isLocalFile()) {
        path = urls.first().toLocalFile();
        const QFileInfo info(path);
        const QString suffix = info.suffix().toLower();
        if (info.isDir())
            kind = Folder;
        else if (info.isFile() && suffix == QLatin1String("vdr"))
            kind = DayFile;
        else if (info.isFile() && suffix == QLatin1String("tar"))
            kind = TarArchive;
    }
    if (kind == Refused || kind == Connected)
        event->ignore();
    else
        event->acceptProposedAction();

    // Handled once the drop is over: a message box or an import must not hold up the program
    // the files were dragged from.
    QTimer::singleShot(0, this, [this, kind, path] {
        switch (kind) {
        case Connected:
            showMessage(tr("Disconnect the serial port before opening files dropped on the window"));
            break;
        case Refused:
            showMessage(tr("Only a 'vdr' file, a folder or a 'tar' archive can be dropped here"));
            break;
        case DayFile:
            openFileLater(path);
            break;
        case Folder:
            importFolder(path);
            break;
        case TarArchive:
            importTarArchive(path);
            break;
        }
    });
}
