// The speed report print preview: a frozen copy of the span the speed chart shows.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/print/printspan.h"
#include "core/vdr/dayfile.h"
#include "gui/charts/speedplot.h"
#include "gui/period/periodpage.h"
#include "gui/print/ztprintwidget.h"

#include <QDir>
#include <QScrollBar>

void MainWindow::on_actionPrint_triggered()
{
    if (isPeriodPageCurrent())
        periodPage->print();
    else
        openPrintPreview();
}

ZtPrintWidget *MainWindow::openPrintPreview()
{
    // No parent: a window of its own, which the main window keeps no reference to. It is
    // released when the user closes it.
    auto *preview = new ZtPrintWidget(nullptr);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview, &ZtPrintWidget::pdfSaved, this, [this](const QString &path) {
        confirmSaved(tr("PDF saved: %1").arg(QDir::toNativeSeparators(path)));
    });

    if (ui->tabWidget->currentWidget() == ui->tab_chart) {
        // The instants at both edges of the part of the day the scroll area shows.
        const plot::TimeScale &scale = speedPlot->scale();
        const int left = ui->speedScrollArea->horizontalScrollBar()->value();
        const int right = left + ui->speedScrollArea->viewport()->width();
        const int tick = plot::tickSeconds(ui->verticalSlider->value());
        const print::Span span =
            print::alignedSpan(qint64(scale.instantAt(left)), qint64(scale.instantAt(right)), tick,
                               speedPlot->timeMin(), speedPlot->timeMax());
        preview->buildChart(span.start, span.end, tick);
    } else {
        preview->buildChart(speedPlot->timeMin(), speedPlot->timeMax(), 3600);
    }

    if (!storedSpeed().records.isEmpty())
        preview->setSpeedLine(speedPlot->line().points());

    // The day on display and its car number, as the day model holds them.
    const QString carNo = dayModel().carNumber();
    if (speedPlot->cursor().isSet())
        preview->setCursorInfo(carNo, speedPlot->cursor());
    else
        preview->setTitleInfo(vdr::dayListText(dayModel().day()), carNo);
    preview->show();
    return preview;
}
