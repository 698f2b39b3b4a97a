#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/platform.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/recenttimewidget.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

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
    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_speed2));
    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_location2));

    showMaximized();

    ui->statusbar->hide();
    ui->speedChartTimeLine->hide();

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
    ui->openfile->hide();
    ui->importFloder->hide();

    initSpeedChart();
    initDriverChart();

    clearAllPages();
    initSpeedTables();
    initDriverTable();
    setupLocationTables();

    ui->tabWidget->removeTab(ui->tabWidget->indexOf(ui->tab_map));
    setupDesktopConveniences();
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

    // Series that sit in a chart die with it; the others are ours to delete.
    auto dropSeries = [](QLineSeries *&series) {
        if (series && !series->chart())
            delete series;
        series = nullptr;
    };
    dropSeries(speedSeries);
    for (QLineSeries *&series : driverSeries)
        dropSeries(series);
    // A chart view owns its chart, and the chart owns its axes and attached series.
    delete speedChartView;
    speedChartView = nullptr;
    speedChart = nullptr;
    speedAxisX = nullptr;
    speedAxisY = nullptr;
    delete driverChartView;
    driverChartView = nullptr;
    driverChart = nullptr;
    driverAxisX = nullptr;
    driverAxisY = nullptr;

    delete ui;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == ui->centralwidget && waitingWidget &&
        !waitingWidget->isHidden()) {
        const QSize size = static_cast<QResizeEvent *>(event)->size();
        waitingWidget->resize(size);
    }
    chartEventFilter(watched, event);
    return QMainWindow::eventFilter(watched, event);
}
