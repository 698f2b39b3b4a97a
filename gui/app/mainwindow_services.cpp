// Services every page uses: the log page, the message box, the waiting overlay and the
// clearing of all pages before a new day is shown.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "gui/app/ztpopwaitingwidget.h"

#include <QMessageBox>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

bool MainWindow::isLogPageShown() const
{
    return ui->tabWidget->indexOf(ui->tab_debug) != -1;
}

void MainWindow::appendLog(const QString &text, const QColor &colour)
{
    if (!isLogPageShown())
        return;
    // Log lines carry names and texts from files: they go in as text, never as markup (the
    // browser's own append would take a line that looks like HTML as HTML, and load what an
    // image tag names). A new paragraph in the colour, as append makes one.
    QTextBrowser *log = ui->debugtextBrowser;
    QScrollBar *bar = log->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCharFormat format;
    format.setForeground(colour);
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    if (!log->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(text, format);
    if (atBottom)
        bar->setValue(bar->maximum());
    log->setTextColor(QColor(QStringLiteral("black")));
}

void MainWindow::on_actionDebug_triggered(bool checked)
{
    if (checked) {
        if (!isLogPageShown())
            ui->tabWidget->addTab(ui->tab_debug, tr("Debug"));
        ui->actionspeed->setEnabled(true);
        ui->actiongps->setEnabled(true);
    } else {
        ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_debug));
        ui->actionspeed->setEnabled(false);
        ui->actiongps->setEnabled(false);
    }
}

void MainWindow::showMessage(const QString &text)
{
    QMessageBox box;
    box.setTextFormat(Qt::PlainText); // messages name files and days taken from files
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    if (waitingWidget)
        waitingWidget->stopWaiting();
}

void MainWindow::showLoading(QString qstr)
{
    if (!waitingWidget)
        waitingWidget = new ZtPopWaitingWidget(ui->centralwidget);
    waitingWidget->setGeometry(0, 0, ui->centralwidget->width(), ui->centralwidget->height());
    waitingWidget->setText(qstr);
    waitingWidget->raise();
    waitingWidget->startWaiting();
}

void MainWindow::hideLoading()
{
    if (waitingWidget)
        waitingWidget->stopWaiting();
}

void MainWindow::clearAllPages()
{
    day = vdr::DayReport();
    ++dayGeneration;
    setDisplayedDayFile(QString());
    ui->carno_value->setText(QString());
    ui->date_value->setText(QString());
    ui->id_comboBox->clear();
    ui->drivingtime_value->setText(QString());
    ui->stoptime_value->setText(QString());
    ui->standbytime_value->setText(QString());
    ui->restingtime_value->setText(QString());
    ui->eventtextBrowser->clear();
    ui->techtextBrowser->clear();
    ui->locationtextBrowser->clear();

    initSpeedTables();
    initDriverTable();
    setupLocationTables();

    clearCharts();
    updateRouteMap();

    if (isLogPageShown())
        ui->debugtextBrowser->clear();
}
