#pragma once

#include <QDateTime>
#include <QPointF>
#include <QVector>
#include <QWidget>

#include "app/qtcompat.h"

QT_CHARTS_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
QT_CHARTS_END_NAMESPACE

class QPrinter;

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
    // The speed line of a speed block (drawn like the main chart's: 0 and 0xFF at 0.1 km/h,
    // speeds cut to the axis maximum). Needs buildChart first; a block whose size does not
    // match its record count draws no line.
    void buildSeries(const uchar *data, int size);
    // Heading without a cursor: date and car number; no footer.
    void setTitleInfo(const QString &date, const QString &carNo);
    // Heading and footer with the cursor's values, and the green line at date + time
    // ("yyyy/MM/dd", "hh:mm:ss.0" or "hh:mm:ss.5").
    void setCursorInfo(const QString &carNo, const QString &date, const QString &time,
                       const QString &driverId, const QString &status, const QString &speed,
                       const QString &mileage);

    // Writes the page as it would be printed (landscape, the whole window scaled to fit) to a
    // PDF file at path. On success the "Print" button is hidden for good; on failure the user
    // is told and the button stays. Returns whether the file was written.
    bool savePdf(const QString &path);

public slots:
    void on_pushButton_clicked();

private:
    void offerPdf();
    bool renderPage(QPrinter &printer);
    void refreshEnvelope();
    void placeCursorLine();

    Ui::ZtPrintWidget *ui = nullptr;
    QT_CHARTS_NAMESPACE::QChart *printChart = nullptr;
    QT_CHARTS_NAMESPACE::QChartView *printChartView = nullptr;
    QT_CHARTS_NAMESPACE::QLineSeries *printSeries = nullptr;
    QT_CHARTS_NAMESPACE::QDateTimeAxis *printAxisX = nullptr;
    QT_CHARTS_NAMESPACE::QValueAxis *printAxisY = nullptr;

    QVector<QPointF> printPoints; // every point of the speed line; the series holds its envelope
    QVector<double> envelopeKey;  // time range and plot columns the series was built for
    QDateTime cursorInstant;      // the green line's instant; invalid without a cursor
};
