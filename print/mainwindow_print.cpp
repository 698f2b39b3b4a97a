// The speed report print preview: a frozen copy of the span the speed chart shows.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "print/printspan.h"
#include "print/ztprintwidget.h"
#include "vdr/dayfile.h"

#include <QRegion>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>

void MainWindow::on_actionPrint_triggered()
{
    openPrintPreview();
}

ZtPrintWidget *MainWindow::openPrintPreview()
{
    // No parent: a window of its own, which the main window keeps no reference to. It is
    // released when the user closes it.
    auto *preview = new ZtPrintWidget(nullptr);
    preview->setAttribute(Qt::WA_DeleteOnClose);

    if (ui->tabWidget->currentWidget() == ui->tab_chart) {
        // The part of the chart view that the scroll area shows, in view coordinates.
        const QRegion visible = speedChartView->visibleRegion();
        int left = 0;
        int right = 0;
        if (!visible.isEmpty()) {
            const QRect first = *visible.begin();
            left = first.left();
            right = first.right() + 1;
        }
        const auto valueAt = [this](int viewX) {
            const QPointF inChart = speedChart->mapFromScene(speedChartView->mapToScene(QPoint(viewX, 0)));
            const QRectF plot = speedChart->plotArea();
            const double min = double(speedAxisX->min().toMSecsSinceEpoch());
            const double max = double(speedAxisX->max().toMSecsSinceEpoch());
            if (plot.width() <= 0)
                return qint64(min);
            return qint64(min + (inChart.x() - plot.left()) * (max - min) / plot.width());
        };
        const int tick = print::tickSeconds(ui->verticalSlider->value());
        const print::Span span =
            print::alignedSpan(valueAt(left), valueAt(right), tick, speedAxisX->min(), speedAxisX->max());
        preview->buildChart(span.start, span.end, tick);
    } else {
        preview->buildChart(speedAxisX->min(), speedAxisX->max(), 3600);
    }

    if (!storedSpeed().records.isEmpty())
        preview->buildSeries(storedSpeed().records.data(), int(storedSpeed().records.size()));

    // The day on display and its car number, as the day model holds them.
    const QString carNo = dayModel().carNumber();
    // The cursor is the instant on the "Speed Info" panel. Its line on the main chart is no
    // guide: it is hidden too while the instant is scrolled out of view or another page is
    // shown.
    const bool hasCursor = QDateTime::fromString(ui->spd_date_value->text() + QLatin1Char(' ') +
                                                     ui->spd_time_value->text().left(8),
                                                 QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                               .isValid();
    if (hasCursor) {
        preview->setCursorInfo(carNo, ui->spd_date_value->text(), ui->spd_time_value->text(),
                               ui->spd_driver_value->text(), ui->spd_status_value->text(),
                               ui->spd_speed_value->text(), ui->spd_mileage_value->text());
    } else {
        preview->setTitleInfo(vdr::dayListText(dayModel().day()), carNo);
    }
    preview->show();
    return preview;
}
