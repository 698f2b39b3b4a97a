#include "gui/print/ztprintwidget.h"
#include "ui_ztprintwidget.h"

#include "core/print/printspan.h"
#include "core/vdr/speed.h"
#include "gui/charts/speedplot.h"
#include "gui/print/pageprint.h"

#include <QDir>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

// The window as the user sees it, its own background included.
static const QWidget::RenderFlags kPageFlags = QWidget::DrawWindowBackground | QWidget::DrawChildren;

QT_CHARTS_USE_NAMESPACE

ZtPrintWidget::ZtPrintWidget(QWidget *parent) : QWidget(parent), ui(new Ui::ZtPrintWidget)
{
    ui->setupUi(this);
    ui->speedChartTimeLine->hide();
    // The heading and footer carry the car number and the driver's ID from the day file.
    ui->into1_label->setTextFormat(Qt::PlainText);
    ui->into2_label->setTextFormat(Qt::PlainText);
}

// The chart view is a child of speedWidget and owns the chart (with its axes and line) and the
// plot.
ZtPrintWidget::~ZtPrintWidget()
{
    delete ui;
}

void ZtPrintWidget::buildChart(const QDateTime &start, const QDateTime &end, int tickSeconds)
{
    plot::SpeedCursor cursor;
    if (printPlot) { // a second call replaces the chart; the cursor stays
        cursor = printPlot->cursor();
        delete printPlot->view();
    }
    printPlot = new SpeedPlot(ui->speedWidget);
    printPlot->view()->show(); // a replacement made while the preview is shown is shown too
    printPlot->setCursor(cursor);
    printPlot->chart()->setTitle(tr("Speed History"));
    QDateTimeAxis *axisX = printPlot->axisX();
    if (tickSeconds == 30) {
        axisX->setFormat(QStringLiteral("hh:mm:ss"));
        axisX->setLabelsAngle(75);
    } else {
        axisX->setFormat(QStringLiteral("hh:mm"));
    }
    printPlot->setTimeAxis(start, end, print::tickCount(start, end, tickSeconds));
    connect(printPlot, &TimeChart::laidOut, this, &ZtPrintWidget::placeCursorLine);
    // The whole chart at the size of its widget.
    const int width = ui->speedWidget->width();
    printPlot->showColumns(width, 0, width);
}

void ZtPrintWidget::setSpeedLine(const QVector<QPointF> &points)
{
    if (printPlot)
        printPlot->setLine(points);
}

void ZtPrintWidget::buildSeries(const uchar *data, int size)
{
    const vdr::SpeedRecords block(data, size);
    setSpeedLine(block.sizeOk()
                     ? vdr::speedChartPoints(block, vdr::speedRecordStarts(block), plot::kSpeedAxisMax)
                     : QVector<QPointF>());
}

void ZtPrintWidget::setTitleInfo(const QString &date, const QString &carNo)
{
    ui->into1_label->setText(tr("Date") + QLatin1Char(':') + date + QLatin1String("  ") + tr("Car No.") +
                             QLatin1Char(':') + carNo);
}

void ZtPrintWidget::setCursorInfo(const QString &carNo, const plot::SpeedCursor &cursor)
{
    const QString gap = QStringLiteral("  ");
    ui->into1_label->setText(tr("Car No.") + QLatin1Char(':') + carNo + gap + tr("Time") + QLatin1Char(':') +
                             cursor.dateText() + QLatin1Char(' ') + cursor.timeText());
    ui->into2_label->setText(tr("ID") + QLatin1Char(':') + cursor.driver + gap + tr("Status") +
                             QLatin1Char(':') + cursor.status + gap + tr("Speed") + QLatin1Char(':') +
                             cursor.speed + gap + tr("Mileage") + QLatin1Char(':') + cursor.mileage);
    if (printPlot)
        printPlot->setCursor(cursor);
    placeCursorLine();
}

// The green line at the cursor's instant: below the heading, down to the time axis, whose
// turned labels take more room.
void ZtPrintWidget::placeCursorLine()
{
    QLabel *line = ui->speedChartTimeLine;
    if (!printPlot) {
        line->hide();
        return;
    }
    const int h = ui->speedWidget->height() - 1;
    const bool turned = printPlot->axisX()->format() == QLatin1String("hh:mm:ss");
    printPlot->placeCursorLine(line, ui->speedWidget->y() + 35, turned ? h - 104 : h - 74);
}

void ZtPrintWidget::on_pushButton_clicked()
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (printer.printerName().isEmpty()) {
        offerPdf();
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ui->pushButton->hide();
    if (!pageprint::render(this, printer, kPageFlags)) {
        ui->pushButton->show();
        QMessageBox::warning(this, windowTitle(), tr("The report could not be printed."));
    }
}

// Without a printer the page can still be kept: as a PDF file the user can print elsewhere.
void ZtPrintWidget::offerPdf()
{
    const QString path = pageprint::offerPdfInstead(
        this, windowTitle(), tr("No printer is installed. Save the report as a PDF file instead?"),
        QStringLiteral("SpeedHistory.pdf"));
    if (!path.isEmpty())
        savePdf(path);
}

bool ZtPrintWidget::savePdf(const QString &path)
{
    const bool buttonShown = !ui->pushButton->isHidden();
    ui->pushButton->hide(); // not part of the page
    const bool written = pageprint::writePdf(this, path, kPageFlags);
    if (!written) {
        ui->pushButton->setVisible(buttonShown);
        QMessageBox::warning(
            this, windowTitle(),
            tr("The report could not be saved as a PDF file:\n%1").arg(QDir::toNativeSeparators(path)));
    } else {
        emit pdfSaved(path);
    }
    return written;
}
