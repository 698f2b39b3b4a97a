#include "print/ztprintwidget.h"
#include "ui_ztprintwidget.h"

#include "print/printspan.h"
#include "vdr/speed.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

QT_CHARTS_USE_NAMESPACE

ZtPrintWidget::ZtPrintWidget(QWidget *parent) : QWidget(parent), ui(new Ui::ZtPrintWidget)
{
    ui->setupUi(this);
    ui->speedChartTimeLine->hide();
    // The heading and footer carry the car number and the driver's ID from the day file.
    ui->into1_label->setTextFormat(Qt::PlainText);
    ui->into2_label->setTextFormat(Qt::PlainText);
}

// The chart view is a child of speedWidget and owns the chart, which owns its axes and series.
ZtPrintWidget::~ZtPrintWidget()
{
    delete ui;
}

void ZtPrintWidget::buildChart(const QDateTime &start, const QDateTime &end, int tickSeconds)
{
    if (printChartView) { // a second call replaces the chart
        delete printChartView;
        printChartView = nullptr;
        printChart = nullptr;
        printSeries = nullptr;
        printAxisX = nullptr;
        printAxisY = nullptr;
        envelopeKey.clear();
    }

    printChart = new QChart();
    printChart->setTitle(tr("Speed History"));
    printChart->layout()->setContentsMargins(0, 0, 0, 10);
    printChart->setMargins(QMargins(10, 10, 10, 10));
    printChart->legend()->hide();

    printAxisX = new QDateTimeAxis();
    printAxisX->setRange(start, end);
    printAxisX->setTickCount(print::tickCount(start, end, tickSeconds));
    printAxisX->setGridLineVisible(true);
    if (tickSeconds == 30) {
        printAxisX->setFormat(QStringLiteral("hh:mm:ss"));
        printAxisX->setLabelsAngle(75);
    } else {
        printAxisX->setFormat(QStringLiteral("hh:mm"));
    }
    printChart->addAxis(printAxisX, Qt::AlignBottom);

    printAxisY = new QValueAxis();
    printAxisY->setRange(0, 240);
    printAxisY->setTickCount(13);
    printAxisY->setMinorTickCount(1);
    printAxisY->setLabelFormat(QStringLiteral("%d"));
    printAxisY->setGridLineVisible(true);
    printChart->addAxis(printAxisY, Qt::AlignLeft);

    // Made with its chart: a view made without one makes a default chart of its own.
    printChartView = new QChartView(printChart, ui->speedWidget);
    printChartView->resize(ui->speedWidget->size());
    printChartView->show(); // a replacement made while the preview is shown is shown too

    connect(printChart, &QChart::plotAreaChanged, this, [this] {
        refreshEnvelope();
        placeCursorLine();
    });
}

void ZtPrintWidget::buildSeries(const uchar *data, int size)
{
    if (!printChart)
        return;
    if (printSeries) {
        if (printSeries->chart())
            printChart->removeSeries(printSeries);
        delete printSeries;
        printSeries = nullptr;
    }
    printSeries = new QLineSeries();
    printSeries->clear();
    printSeries->setPen(QPen(QBrush(Qt::blue), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));

    const vdr::SpeedRecords block(data, size);
    printPoints.clear();
    if (block.sizeOk())
        printPoints = vdr::speedChartPoints(block, vdr::speedRecordStarts(block), int(printAxisY->max()));
    // The series gets the line as drawn into the plot's pixel columns, before it is attached:
    // handing QtCharts every half-second sample of a day costs about a second.
    envelopeKey.clear();
    refreshEnvelope();

    printChart->addSeries(printSeries);
    printSeries->attachAxis(printAxisX);
    printSeries->attachAxis(printAxisY);
    printChartView->setRenderHint(QPainter::Antialiasing);
}

void ZtPrintWidget::refreshEnvelope()
{
    if (!printSeries || !printAxisX)
        return;
    const double minX = double(printAxisX->min().toMSecsSinceEpoch());
    const double maxX = double(printAxisX->max().toMSecsSinceEpoch());
    QRectF plot = printChart->plotArea();
    if (plot.width() <= 1) // not laid out yet: a provisional envelope until the first layout
        plot = QRectF(0, 0, ui->speedWidget->width(), 1);
    const QVector<double> key = {minX, maxX, plot.left(), plot.width()};
    if (key == envelopeKey)
        return;
    envelopeKey = key;
    // Only the span is drawn: the points inside it and one on either side, so that the line
    // runs on to the plot's edges. A zoomed-in span is a few minutes of a day of samples.
    QVector<QPointF> shown = printPoints;
    const auto byX = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
    if (std::is_sorted(printPoints.cbegin(), printPoints.cend(), byX)) {
        auto first = std::lower_bound(printPoints.cbegin(), printPoints.cend(), QPointF(minX, 0), byX);
        auto last = std::upper_bound(printPoints.cbegin(), printPoints.cend(), QPointF(maxX, 0), byX);
        if (first != printPoints.cbegin())
            --first;
        if (last != printPoints.cend())
            ++last;
        shown = QVector<QPointF>(first, last);
    }
    printSeries->replace(vdr::pixelEnvelope(shown, minX, maxX, plot.left(), plot.width()));
}

void ZtPrintWidget::setTitleInfo(const QString &date, const QString &carNo)
{
    ui->into1_label->setText(tr("Date") + QLatin1Char(':') + date + QLatin1String("  ") + tr("Car No.") +
                             QLatin1Char(':') + carNo);
}

void ZtPrintWidget::setCursorInfo(const QString &carNo, const QString &date, const QString &time,
                                  const QString &driverId, const QString &status, const QString &speed,
                                  const QString &mileage)
{
    const QString gap = QStringLiteral("  ");
    ui->into1_label->setText(tr("Car No.") + QLatin1Char(':') + carNo + gap + tr("Time") + QLatin1Char(':') +
                             date + QLatin1Char(' ') + time);
    ui->into2_label->setText(tr("ID") + QLatin1Char(':') + driverId + gap + tr("Status") + QLatin1Char(':') +
                             status + gap + tr("Speed") + QLatin1Char(':') + speed + gap + tr("Mileage") +
                             QLatin1Char(':') + mileage);

    // The time is shown to the half second, "hh:mm:ss.0" or "hh:mm:ss.5": the digit after
    // the point is tenths, not milliseconds.
    cursorInstant =
        QDateTime::fromString(date + QLatin1Char(' ') + time.left(8), QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    if (cursorInstant.isValid() && time.endsWith(QLatin1String(".5")))
        cursorInstant = cursorInstant.addMSecs(500);
    placeCursorLine();
}

// The line's position follows the chart's layout, which exists only once the window is
// shown; the chart's plotAreaChanged places it again then.
void ZtPrintWidget::placeCursorLine()
{
    QLabel *line = ui->speedChartTimeLine;
    if (!cursorInstant.isValid() || !printChart || !printAxisX) {
        line->hide();
        return;
    }
    const QRectF plot = printChart->plotArea();
    const double min = double(printAxisX->min().toMSecsSinceEpoch());
    const double max = double(printAxisX->max().toMSecsSinceEpoch());
    const double t = double(cursorInstant.toMSecsSinceEpoch());
    if (!(max > min) || t < min || t > max) { // not on this chart
        line->hide();
        return;
    }
    const double px = plot.left() + (t - min) * plot.width() / (max - min);
    const int x = ui->speedWidget->x() + int(std::lround(px));
    const int y = ui->speedWidget->y() + 35;
    const int h = ui->speedWidget->height() - 1;
    if (printAxisX->format() == QLatin1String("hh:mm:ss"))
        line->resize(1, h - 104);
    else
        line->resize(1, h - 74);
    line->show();
    line->raise();
    line->move(x, y);
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

    QFileDialog dialog(this, tr("Save as PDF"),
                       QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                           .filePath(QStringLiteral("SpeedHistory.pdf")),
                       tr("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
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
