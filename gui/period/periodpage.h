#pragma once

#include "core/period/summary.h"
#include "gui/app/qtcompat.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QPrinter;
class QTableWidget;

QT_CHARTS_BEGIN_NAMESPACE
class QBarCategoryAxis;
class QChartView;
class QValueAxis;
QT_CHARTS_END_NAMESPACE
QT_CHARTS_USE_NAMESPACE

// The "Period" page: many days at a glance. A bar chart of the driving hours of each day,
// stacked by driver, with the daily driving limit as a line; below it the table of days (one
// row per vehicle and day, a day without a file shown as a gap) and the table of findings of
// the working-time checks. The page shows a period report; reading the day files is
// summariseFiles().
class PeriodPage : public QWidget
{
    Q_OBJECT

public:
    explicit PeriodPage(QWidget *parent = nullptr);

    // The default rules, speeds above 90 km/h counted.
    static period::Options defaultOptions();
    // Reads each day file once, digests it and summarises the lot. A file that cannot be read
    // or whose name gives no day is left out with a note in the report.
    static period::PeriodReport summariseFiles(const QStringList &paths,
                                               const period::Options &options = defaultOptions());

    void showReport(const period::PeriodReport &report);
    // Nothing to show: no days in the list.
    void clear();
    const period::PeriodReport &report() const { return shown; }
    bool hasReport() const { return hasShown; }

    // The findings as CSV (the same rows as `tavrin-vdr report --csv` gives its findings).
    QByteArray findingsCsv() const;

    // Prints the page (landscape, scaled to fit); with no printer installed offers to save it
    // as a PDF file instead.
    void print();
    // Writes the page as it would be printed to a PDF file; false when it cannot be written.
    bool savePdf(const QString &path);

    QTableWidget *dayTable() const { return days; }
    QTableWidget *findingTable() const { return findings; }
    QChartView *chartView() const { return view; }

signals:
    // A finding was double-clicked.
    void findingActivated(const period::Finding &finding);
    // The interface language changed: the texts of the report are the old language's.
    void languageChanged();
    // The page was saved as a PDF file at `path`.
    void pdfSaved(const QString &path);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fillChart();
    void fillDays();
    void fillFindings();
    bool onPaper(const std::function<bool()> &paint);

    QLabel *headline = nullptr;
    QChartView *view = nullptr;
    QBarCategoryAxis *axisX = nullptr; // the days
    QValueAxis *axisY = nullptr;       // hours
    QTableWidget *days = nullptr;
    QTableWidget *findings = nullptr;
    period::PeriodReport shown;
    bool hasShown = false;
};
