#include "gui/print/ztprintwidget.h"
#include "ui_ztprintwidget.h"

#include "core/print/printspan.h"
#include "core/vdr/speed.h"
#include "gui/app/viewersettings.h"
#include "gui/charts/speedplot.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

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
    if (!renderPage(printer)) {
        ui->pushButton->show();
        QMessageBox::warning(this, windowTitle(), tr("The report could not be printed."));
    }
}

// Without a printer the page can still be kept: as a PDF file the user can print elsewhere.
void ZtPrintWidget::offerPdf()
{
    QMessageBox box(this);
    box.setWindowTitle(windowTitle());
    box.setIcon(QMessageBox::Information);
    box.setText(tr("No printer is installed. Save the report as a PDF file instead?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    if (box.exec() != QMessageBox::Save)
        return;

    // It starts where the last report was saved.
    const QString folder = viewersettings::lastFolder(
        QStringLiteral("pdf"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QFileDialog dialog(this, tr("Save as PDF"), QDir(folder).filePath(QStringLiteral("SpeedHistory.pdf")),
                       tr("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    viewersettings::rememberFolder(QStringLiteral("pdf"), dialog.selectedFiles().constFirst());
    savePdf(dialog.selectedFiles().constFirst());
}

bool ZtPrintWidget::savePdf(const QString &path)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Landscape);

    const bool buttonShown = !ui->pushButton->isHidden();
    ui->pushButton->hide(); // not part of the page
    const bool written = renderPage(printer) && QFileInfo(path).size() > 0;
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

// The whole window, scaled by the smaller of the two ratios to fit the printable area and
// centred on it. The painter of a printer starts at the printable area's top-left corner.
bool ZtPrintWidget::renderPage(QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF paint = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target = print::pagePlacement(QSizeF(width(), height()), paint.size());
    painter.translate(target.topLeft());
    painter.scale(target.width() / width(), target.height() / height());
    render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return painter.end();
}
