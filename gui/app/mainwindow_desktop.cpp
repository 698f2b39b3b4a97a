// What a desktop program is expected to do besides its buttons: the "File" menu with its
// recent list, files and folders dropped on the window, the table export, keyboard shortcuts,
// the notes that something was saved and the window title naming the day.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/platform/version.h"
#include "core/vdr/dayreport.h"
#include "core/vdr/tableexport.h"
#include "gui/app/viewersettings.h"
#include "gui/period/periodpage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSaveFile>
#include <QStatusBar>
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
    routeExportAction = new QAction(this);
    routeExportAction->setObjectName(QStringLiteral("exportRouteAction"));
    routeExportAction->setEnabled(false); // no day shown yet
    ui->menuTool->addAction(routeExportAction);
    connect(routeExportAction, &QAction::triggered, this, &MainWindow::exportRouteChosen);
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
    addShortcut(QKeySequence(Qt::Key_F5), "reloadShortcut", [this] { reloadCurrentDay(); });
    addShortcut(QKeySequence(Qt::Key_PageUp), "previousDayShortcut", [this] { stepDateList(-1); });
    addShortcut(QKeySequence(Qt::Key_PageDown), "nextDayShortcut", [this] { stepDateList(1); });

    setupFileMenu();
    // The status bar shows only the notes of confirmSaved(), and only while one is on.
    connect(ui->statusbar, &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (message.isEmpty())
            ui->statusbar->hide();
    });

    retranslateDesktopTexts();
    updateExportAction();
}

// "File", first in the menu bar: the ways in that the left panel's buttons offer (some of
// which it hides), the recent list and "Quit". Each entry takes the path of its button.
void MainWindow::setupFileMenu()
{
    fileMenu = new QMenu(ui->menubar);
    fileMenu->setObjectName(QStringLiteral("menuFile"));
    ui->menubar->insertMenu(ui->menulanguage->menuAction(), fileMenu);
    auto addEntry = [this](const char *name, const QKeySequence &keys, auto slot) {
        auto *action = fileMenu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // Refused while a download runs or the port is connected, as the tar button is.
    addEntry("actionOpenFile", QKeySequence(Qt::CTRL | Qt::Key_O), [this] {
        if (!refuseDuringDownload(true))
            on_openfile_clicked();
    });
    addEntry("actionImportFolder", QKeySequence(), [this] {
        if (!refuseDuringDownload(true))
            on_importFloder_clicked();
    });
    addEntry("actionImportTar", QKeySequence(), [this] {
        if (!refuseDuringDownload(true))
            on_importTar_clicked();
    });
    recentFilesMenu = fileMenu->addMenu(QString());
    recentFilesMenu->setObjectName(QStringLiteral("menuRecent"));
    fileMenu->addSeparator();
    addEntry("actionQuit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] {
        if (close())
            QCoreApplication::quit();
    })->setMenuRole(QAction::QuitRole);
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu()
{
    recentFilesMenu->clear();
    const QStringList entries = viewersettings::recentEntries();
    for (const QString &path : entries) {
        QString text = QDir::toNativeSeparators(path);
        QAction *action = recentFilesMenu->addAction(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    recentFilesMenu->setEnabled(!entries.isEmpty());
}

void MainWindow::addRecent(const QString &path)
{
    viewersettings::addRecentEntry(path);
    if (recentFilesMenu)
        rebuildRecentMenu();
}

void MainWindow::openRecent(const QString &path)
{
    if (refuseDuringDownload(true))
        return;
    const QFileInfo info(path);
    if (!info.exists()) {
        viewersettings::removeRecentEntry(path);
        rebuildRecentMenu();
        showMessage(
            tr("%1 no longer exists; it was taken off the recent list.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (info.isDir())
        importFolder(path);
    else if (info.suffix().compare(QLatin1String("tar"), Qt::CaseInsensitive) == 0)
        importTarArchive(path);
    else
        openFileLater(path);
}

void MainWindow::confirmSaved(const QString &text)
{
    ui->statusbar->show();
    ui->statusbar->showMessage(text, 10000);
}

void MainWindow::updateWindowTitle()
{
    QString title = tr("TavrinPlayer") + QStringLiteral(" V") + version::text();
    if (!displayedFilePath.isEmpty()) {
        title += QStringLiteral(" — ") + QFileInfo(displayedFilePath).fileName();
        const QString carNo = dayModel().carNumber();
        if (!carNo.isEmpty())
            title += QStringLiteral(" (%1)").arg(carNo);
    }
    setWindowTitle(title);
}

void MainWindow::retranslateDesktopTexts()
{
    if (exportAction)
        exportAction->setText(tr("Export table…"));
    if (routeExportAction)
        routeExportAction->setText(tr("Export route…"));
    if (!fileMenu)
        return;
    fileMenu->setTitle(tr("File"));
    recentFilesMenu->setTitle(tr("Recent"));
    const QPair<const char *, QString> texts[] = {
        {"actionOpenFile", tr("Open File…")},
        {"actionImportFolder", tr("Import Folder…")},
        {"actionImportTar", tr("Import Tar…")},
        {"actionQuit", tr("Quit")},
    };
    for (const auto &entry : texts)
        fileMenu->findChild<QAction *>(QLatin1String(entry.first))->setText(entry.second);
}

void MainWindow::setDisplayedDayFile(const QString &path)
{
    displayedFilePath = path;
    if (routeExportAction)
        routeExportAction->setEnabled(!path.isEmpty());
    updateExportAction();
    updateWindowTitle();
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
    // The rows of the day model in the interface's language: the same file as `tavrin-vdr
    // export --lang` makes for that language. The "Period" page exports its findings in the
    // columns of the core's findings table, which `tavrin-vdr report --csv` fills its finding
    // rows from; their texts are those the page shows.
    const QByteArray csv = period ? periodPage->findingsCsv()
                                  : vdr::csvDocument(vdr::exportRows(dayModel(), table, vdr::Texts::Shown));
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
    const QString folder = viewersettings::lastFolder(QStringLiteral("table"));
    const QString path = QFileDialog::getSaveFileName(this, tr("Export table"),
                                                      folder.isEmpty() ? name : QDir(folder).filePath(name),
                                                      tr("CSV files(*.csv)"));
    if (path.isEmpty())
        return;
    viewersettings::rememberFolder(QStringLiteral("table"), path);
    QString error;
    if (!exportCurrentPage(path, &error))
        showMessage(tr("Can not write %1").arg(path) + QLatin1Char('\n') + error);
    else
        confirmSaved(tr("Table saved: %1").arg(QDir::toNativeSeparators(path)));
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
