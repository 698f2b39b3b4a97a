// The "Period" page: the days of the date list at a glance, with the working-time checks.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/dayfile.h"
#include "gui/period/periodpage.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {
// After a change while the page is shown: long enough for an import to finish filling the
// list and for its first day to open first.
constexpr int kPeriodRebuildDelayMs = 300;
} // namespace

void MainWindow::setupPeriodPage()
{
    periodPage = new PeriodPage;
    ui->tabWidget->addTab(periodPage, QString());
    retitlePeriodPage();

    periodTimer = new QTimer(this);
    periodTimer->setSingleShot(true);
    periodTimer->setInterval(kPeriodRebuildDelayMs);
    connect(periodTimer, &QTimer::timeout, this, [this] {
        if (!periodStale || !isPeriodPageCurrent())
            return;
        // A download adds its days one by one: the page waits for its end.
        if (downloadSession.running())
            periodTimer->start(kPeriodRebuildDelayMs);
        else
            rebuildPeriodPage();
    });

    // Any change of the date list (an import, a download, a single file) makes the page stale.
    const QAbstractItemModel *list = ui->date_comboBox->model();
    connect(list, &QAbstractItemModel::rowsInserted, this, &MainWindow::markPeriodStale);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &MainWindow::markPeriodStale);
    connect(list, &QAbstractItemModel::modelReset, this, &MainWindow::markPeriodStale);
    connect(periodPage, &PeriodPage::languageChanged, this, [this] {
        retitlePeriodPage();
        markPeriodStale();
    });
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, [this] {
        if (periodStale && isPeriodPageCurrent())
            periodTimer->start(0); // the page paints its old state first
    });
    connect(periodPage, &PeriodPage::findingActivated, this, &MainWindow::openFinding);
    connect(periodPage, &PeriodPage::pdfSaved, this, [this](const QString &path) {
        confirmSaved(tr("PDF saved: %1").arg(QDir::toNativeSeparators(path)));
    });
}

void MainWindow::retitlePeriodPage()
{
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(periodPage), tr("Period"));
}

bool MainWindow::isPeriodPageCurrent() const
{
    return periodPage && ui->tabWidget->currentWidget() == periodPage;
}

void MainWindow::markPeriodStale()
{
    periodStale = true;
    if (isPeriodPageCurrent())
        periodTimer->start(kPeriodRebuildDelayMs);
}

QStringList MainWindow::dateListFiles() const
{
    QStringList files;
    QVector<QDate> seen;
    for (int i = 0; i < ui->date_comboBox->count(); ++i) {
        const QDate day = dateListDay(i);
        if (!day.isValid() || seen.contains(day))
            continue;
        seen.append(day);
        QString path = workingDirPath + QLatin1Char('/') + vdr::normalisedDayFileName(day);
        // A single file opened from disk stays where it is.
        if (!QFileInfo(path).isFile() && dayModel().day() == day && !displayedFilePath.isEmpty())
            path = displayedFilePath;
        if (QFileInfo(path).isFile())
            files << path;
    }
    return files;
}

void MainWindow::rebuildPeriodPage()
{
    periodTimer->stop();
    periodStale = false;
    const QStringList files = dateListFiles();
    if (files.isEmpty())
        periodPage->clear();
    else
        periodPage->showReport(PeriodPage::summariseFiles(files));
    updateExportAction();
}

void MainWindow::openFinding(const period::Finding &finding)
{
    if (refuseDuringDownload(false))
        return;
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(finding.start);
    int index = -1;
    for (int i = 0; i < ui->date_comboBox->count() && index < 0; ++i)
        if (dateListDay(i) == start.date())
            index = i;
    if (index < 0)
        return; // a day without a file: nothing to open

    auto showCursor = [this, start] {
        if (dayModel().day() != start.date())
            return; // the day could not be opened; it said why
        ui->tabWidget->setCurrentWidget(ui->tab_chart);
        updateSpeedCursor(start);
    };
    if (dayModel().day() == start.date() && !displayedFilePath.isEmpty() &&
        ui->date_comboBox->currentIndex() == index && currentFilePath.isEmpty()) {
        showCursor();
        return;
    }
    // As a click in the list: the entry becomes current and opens its day.
    if (ui->date_comboBox->currentIndex() == index)
        on_date_comboBox_currentIndexChanged(index);
    else
        ui->date_comboBox->setCurrentIndex(index);
    // The list's deferred open, or this one, whichever runs first, reads the file.
    QTimer::singleShot(100, this, [this, showCursor] {
        if (!currentFilePath.isEmpty())
            OnParseVDRFileLater();
        showCursor();
    });
}
