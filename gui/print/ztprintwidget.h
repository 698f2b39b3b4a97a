#pragma once

#include "core/charts/plotmodel.h"

#include <QDateTime>
#include <QPointF>
#include <QVector>
#include <QWidget>

class QPrinter;
class SpeedPlot;

namespace Ui {
class ZtPrintWidget;
}

// The print preview of the speed report: a heading line, the speed chart of a time span, a
// footer line and a green line at the cursor's instant when the main chart has a cursor.
// "Print" prints the whole window scaled onto a landscape page, or, with no printer
// installed, offers to save that page as a PDF file. Each preview prints once.
class ZtPrintWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ZtPrintWidget(QWidget *parent = nullptr);
    ~ZtPrintWidget() override;

    // The chart with a time axis from start to end, a tick every tickSeconds, and the speed
    // axis 0..240 km/h.
    void buildChart(const QDateTime &start, const QDateTime &end, int tickSeconds);
    // The speed line: every point of the day (ms since the epoch, km/h), as the main chart has
    // them. Needs buildChart first.
    void setSpeedLine(const QVector<QPointF> &points);
    // The speed line of a speed block (drawn like the main chart's: 0 and 0xFF at 0.1 km/h,
    // speeds cut to the axis maximum). Needs buildChart first; a block whose size does not
    // match its record count draws no line.
    void buildSeries(const uchar *data, int size);
    // Heading without a cursor: date and car number; no footer.
    void setTitleInfo(const QString &date, const QString &carNo);
    // Heading and footer with the cursor's values, and the green line at its instant.
    void setCursorInfo(const QString &carNo, const plot::SpeedCursor &cursor);

    // Writes the page as it would be printed (landscape, the whole window scaled to fit) to a
    // PDF file at path. On success the "Print" button is hidden for good; on failure the user
    // is told and the button stays. Returns whether the file was written.
    bool savePdf(const QString &path);

signals:
    // A PDF file was written at path.
    void pdfSaved(const QString &path);

public slots:
    void on_pushButton_clicked();

private:
    void offerPdf();
    void placeCursorLine();

    Ui::ZtPrintWidget *ui = nullptr;
    SpeedPlot *printPlot = nullptr; // its view is a child of speedWidget
};
