#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/platform/platform.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/charts/speedplot.h"
#include "gui/serial/recenttimewidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <QtCharts/QChartView>

namespace {
// Lines (paragraphs) the log page keeps, the oldest going first: a day's whole dump fits.
constexpr int kLogPageMaxLines = 20000;
} // namespace

static void initTavrinResources()
{
    Q_INIT_RESOURCE(resources);
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    initTavrinResources();

    workingDirPath = platform::workingDirectoryPath();
    archiveDirPath = platform::archiveDirectoryPath();

    // The interface starts in Chinese; the language-change event re-applies every text
    // once the event loop runs.
    if (!translator)
        setLanguage(Language::Chinese);

    ui->setupUi(this);

    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_debug));
    // Every frame received adds its lines to the log page, shown or not: the page keeps the
    // latest only, so that downloads do not make the program grow without end.
    ui->debugtextBrowser->document()->setMaximumBlockCount(kLogPageMaxLines);
    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_speed2));
    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_location2));

    showMaximized();

    ui->statusbar->hide();
    ui->speedChartTimeLine->hide();
    // The panel's values hold texts from the recorder's files (driver IDs, the car number):
    // they show as the text they are, never as markup.
    for (QLabel *value : {ui->date_value, ui->spd_driver_value, ui->spd_status_value, ui->spd_date_value,
                          ui->spd_time_value, ui->spd_speed_value, ui->spd_mileage_value})
        value->setTextFormat(Qt::PlainText);

    ui->centralwidget->installEventFilter(this);
    ui->speedWidget->installEventFilter(this);
    ui->driverWidget->installEventFilter(this);

    QScrollBar *driverBar = ui->driverScrollArea->horizontalScrollBar();
    connect(driverBar, &QScrollBar::valueChanged, this,
            &MainWindow::on_driverScrollArea_horizontalScrollBar_valueChanged);
    connect(driverBar, &QScrollBar::sliderMoved, this,
            &MainWindow::on_driverScrollArea_horizontalScrollBar_sliderMoved);
    connect(driverBar, &QScrollBar::sliderReleased, this,
            &MainWindow::on_driverScrollArea_horizontalScrollBar_sliderReleased);

    ui->date->hide();
    ui->recenttime->hide();
    setupSerialLink();
    ui->openfile->hide();
    ui->importFloder->hide();

    initSpeedChart();
    initDriverChart();

    clearAllPages();
    initSpeedTables();
    initDriverTable();
    setupLocationTables();

    initRouteMap();
    setupDesktopConveniences();
    setupPeriodPage();
}

MainWindow::~MainWindow()
{
    platform::removeWorkingDirectory(workingDirPath);
    platform::removeWorkingDirectory(archiveDirPath);

    delete waitingWidget;
    waitingWidget = nullptr;
    delete recentTimeWidget;
    recentTimeWidget = nullptr;

    if (serialPort.isOpen())
        serialPort.close();

    // The chart views own their charts, with the axes and the lines in them, and go before the
    // form: the speed chart reports to this window's event filter. Driver lines that were never
    // charted are ours.
    // The members are cleared first: deleting a view tells its parent, which this window
    // watches, and the filter must not reach a plot that is going away.
    dropDriverSeries();
    SpeedPlot *plot = speedPlot;
    speedPlot = nullptr;
    delete plot->view();
    TimeChart *drivers = driverPlot;
    driverPlot = nullptr;
    driverAxisY = nullptr;
    delete drivers->view();

    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    // The program ends with its main window. The windows opened beside it (print previews,
    // the recent-hours window) close with it: left open, they would keep the program running,
    // with the serial port open and the working directories in place.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == ui->centralwidget && waitingWidget &&
        !waitingWidget->isHidden()) {
        const QSize size = static_cast<QResizeEvent *>(event)->size();
        waitingWidget->resize(size);
    }
    if (chartEventFilter(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}
