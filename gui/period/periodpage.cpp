// The "Period" page: the driving hours chart, the table of days and the table of findings.
#include "gui/period/periodpage.h"

#include "core/print/printspan.h"
#include "core/vdr/faultevent.h"
#include "gui/print/pageprint.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHourMs = 3600.0 * 1000.0;

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

// "h:mm", hours not wrapped.
QString clockText(qint64 ms)
{
    const qint64 minutes = ms / 60000;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int total(const period::TypeCounts &counts)
{
    int n = 0;
    for (int c : counts)
        n += c;
    return n;
}

QTableWidget *makeTable(QWidget *parent)
{
    auto *table = new QTableWidget(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    table->setStyleSheet(QStringLiteral("QTableWidget { background-color: Gainsboro; color: black; }"));
    return table;
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(int(align));
    return item;
}

} // namespace

PeriodPage::PeriodPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("periodPage"));
    // The tab widget's large title font is not the page's.
    setFont(QFont(QStringLiteral("Arial"), 11));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    headline = new QLabel(this);
    headline->setObjectName(QStringLiteral("periodHeadline"));
    headline->setStyleSheet(QStringLiteral("color: Snow;"));
    headline->setFont(QFont(QStringLiteral("Arial"), 13, QFont::Bold));
    headline->setTextFormat(Qt::PlainText);
    headline->setWordWrap(true);
    layout->addWidget(headline);

    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(6, 6, 6, 6));
    axisX = new QBarCategoryAxis(chart);
    axisY = new QValueAxis(chart);
    axisY->setLabelFormat(QStringLiteral("%d"));
    QFont labels = axisX->labelsFont();
    labels.setPointSize(8);
    axisX->setLabelsFont(labels);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("periodChartView"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(180);
    layout->addWidget(view, 40);

    days = makeTable(this);
    days->setObjectName(QStringLiteral("periodDays_table"));
    layout->addWidget(days, 32);

    findings = makeTable(this);
    findings->setObjectName(QStringLiteral("periodFindings_table"));
    layout->addWidget(findings, 28);
    connect(findings, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (hasShown && row >= 0 && row < shown.findings.size())
            emit findingActivated(shown.findings.at(row));
    });

    clear();
}

period::Options PeriodPage::defaultOptions()
{
    period::Options options;
    options.speedLimitKmh = 90;
    return options;
}

period::PeriodReport PeriodPage::summariseFiles(const QStringList &paths, const period::Options &options)
{
    QVector<period::DayDigest> digests;
    digests.reserve(paths.size());
    QStringList unread;
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            unread << tr("%1: cannot read: %2").arg(path, file.errorString());
            continue;
        }
        // Decoded once, digested, and the bytes dropped.
        digests.append(period::digestDayFile(QFileInfo(path).fileName(), file.readAll(), path));
    }
    period::PeriodReport report = period::summarise(digests, options);
    report.notes = unread + report.notes;
    return report;
}

void PeriodPage::clear()
{
    shown = period::PeriodReport();
    hasShown = false;
    headline->setText(tr("No days in the date list"));
    fillChart();
    fillDays();
    fillFindings();
}

void PeriodPage::showReport(const period::PeriodReport &report)
{
    shown = report;
    hasShown = true;
    const int dayCount = report.first.isValid() ? int(report.first.daysTo(report.last)) + 1 : 0;
    QString text = tr("%1 to %2: %3 day(s), %4 day file(s) read; %5 breach(es), %6 allowed only under the "
                      "exception, %7 gap(s) in the records")
                       .arg(dayText(report.first), dayText(report.last))
                       .arg(dayCount)
                       .arg(report.filesUsed)
                       .arg(report.count(period::FindingKind::Breach))
                       .arg(report.count(period::FindingKind::Exception))
                       .arg(report.count(period::FindingKind::Gap));
    // The first notes; all of them in the tooltip.
    constexpr int kNotesShown = 3;
    if (!report.notes.isEmpty())
        text += QLatin1Char('\n') + report.notes.mid(0, kNotesShown).join(QLatin1Char('\n'));
    if (report.notes.size() > kNotesShown)
        text += QStringLiteral(" …");
    headline->setText(text);
    headline->setToolTip(report.notes.join(QLatin1Char('\n')));
    fillChart();
    fillDays();
    fillFindings();
}

void PeriodPage::fillChart()
{
    // The axes stay; the series are made anew.
    QChart *chart = view->chart();
    chart->removeAllSeries();
    chart->setTitle(tr("Driving hours per day"));

    // A label per day while they fit under their bars (the chart cuts longer ones short, turned
    // or not); a longer period names its first and last day below the bars instead.
    QStringList categories;
    if (hasShown && shown.first.isValid()) {
        // The axis keeps one of equal labels: they must differ.
        const QString format =
            shown.first.daysTo(shown.last) < 365 ? QStringLiteral("MM/dd") : QStringLiteral("yyyy/MM/dd");
        for (QDate d = shown.first; d <= shown.last; d = d.addDays(1))
            categories << d.toString(format);
    }
    const bool labelled = categories.size() <= 16;
    axisX->setLabelsVisible(labelled);
    axisX->setTitleText(labelled || !hasShown ? QString()
                                              : tr("%1 to %2, a bar a day")
                                                    .arg(shown.first.toString(QStringLiteral("yyyy/MM/dd")),
                                                         shown.last.toString(QStringLiteral("yyyy/MM/dd"))));
    axisX->clear();
    axisX->append(categories);
    axisY->setTitleText(tr("Hours"));

    // One bar set per driver: the driver's driving on each day, in hours.
    double highest = 0;
    QVector<double> dayTotals(categories.size(), 0.0);
    auto *bars = new QStackedBarSeries;
    for (const period::DriverSummary &driver : shown.drivers) {
        auto *set = new QBarSet(driver.driver);
        QVector<double> hours(categories.size(), 0.0);
        for (const period::DriverDay &d : driver.days) {
            const qint64 index = shown.first.daysTo(d.day);
            if (index >= 0 && index < hours.size())
                hours[int(index)] += double(d.driving) / kHourMs;
        }
        for (int i = 0; i < hours.size(); ++i) {
            set->append(hours.at(i));
            dayTotals[i] += hours.at(i);
        }
        bars->append(set);
    }
    for (double h : dayTotals)
        highest = std::max(highest, h);
    chart->addSeries(bars);
    bars->attachAxis(axisX);
    bars->attachAxis(axisY);

    // The daily limit across the whole chart.
    const double limit = shown.options.rules.dailyDrivingMaxMinutes / 60.0;
    auto *line = new QLineSeries;
    line->setName(tr("Daily limit (%1)")
                      .arg(period::durationText(qint64(shown.options.rules.dailyDrivingMaxMinutes) * 60000)));
    QPen pen(QColor(QStringLiteral("red")));
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);
    const double lastX = std::max(0, int(categories.size()) - 1);
    line->append(-0.5, limit);
    line->append(lastX + 0.5, limit);
    chart->addSeries(line);
    line->attachAxis(axisX);
    line->attachAxis(axisY);

    axisY->setRange(0, std::ceil(std::max(highest, limit) + 1));
    axisY->applyNiceNumbers();
}

void PeriodPage::fillDays()
{
    const QStringList captions = {tr("Date"),
                                  tr("Vehicle"),
                                  tr("Distance (km)"),
                                  tr("Driving by driver"),
                                  tr("Longest continuous"),
                                  tr("Top speed (km/h)"),
                                  tr("Above %1 km/h").arg(shown.options.speedLimitKmh),
                                  tr("Faults / events")};
    days->clear();
    days->clearSpans();
    days->setColumnCount(captions.size());
    days->setHorizontalHeaderLabels(captions);

    struct Row
    {
        const period::VehicleSummary *vehicle;
        const period::VehicleDay *day;
    };
    QVector<Row> rows;
    for (const period::VehicleSummary &v : shown.vehicles)
        for (const period::VehicleDay &d : v.days)
            rows.append({&v, &d});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row &a, const Row &b) { return a.day->day < b.day->day; });

    days->setRowCount(rows.size());
    QVector<QPair<int, QString>> gaps; // row, text
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    for (int r = 0; r < rows.size(); ++r) {
        const period::VehicleSummary &v = *rows.at(r).vehicle;
        const period::VehicleDay &d = *rows.at(r).day;
        days->setItem(r, 0, cell(dayText(d.day)));
        days->setItem(r, 1, cell(period::vehicleText(v.vehicle)));
        if (d.status != period::VehicleDay::Read) {
            // A gap in the evidence, never taken as rest.
            gaps.append({r, d.status == period::VehicleDay::Missing
                                ? tr("No day file: a gap in the records")
                                : tr("Day file not used: its checksum does not match")});
            continue;
        }
        days->setItem(r, 2,
                      cell(d.distance < 0 ? QStringLiteral("-")
                                          : QStringLiteral("%1.%2").arg(d.distance / 10).arg(d.distance % 10),
                           right));
        QStringList drivers;
        for (const period::DriverTime &t : d.drivers)
            drivers << QStringLiteral("%1 %2").arg(t.driver, clockText(t.driving));
        if (!d.drivingKnown)
            drivers << tr("driving records unusable");
        days->setItem(r, 3, cell(drivers.join(QStringLiteral(", "))));
        // The longest continuous driving of a driver of this vehicle on the day.
        qint64 longest = 0;
        for (const period::DriverSummary &ds : shown.drivers)
            for (const period::DriverDay &dd : ds.days)
                if (dd.day == d.day && dd.vehicles.contains(v.vehicle))
                    longest = std::max(longest, dd.longestContinuous);
        days->setItem(r, 4, cell(clockText(longest), right));
        days->setItem(r, 5, cell(d.maxSpeed < 0 ? QStringLiteral("-") : QString::number(d.maxSpeed), right));
        days->setItem(r, 6, cell(clockText(d.aboveLimit), right));
        QTableWidgetItem *counts =
            cell(QStringLiteral("%1 / %2").arg(total(d.faults)).arg(total(d.events)), right);
        QStringList detail;
        for (int t = 0; t < period::kFaultTypes; ++t) {
            const int n = d.faults[size_t(t)] + d.events[size_t(t)];
            if (n > 0)
                detail << QStringLiteral("%1: %2 / %3")
                              .arg(vdr::faultTypeText(char('0' + t)))
                              .arg(d.faults[size_t(t)])
                              .arg(d.events[size_t(t)]);
        }
        counts->setToolTip(detail.join(QLatin1Char('\n')));
        days->setItem(r, 7, counts);
        if (!d.problems.isEmpty())
            days->item(r, 0)->setToolTip(d.problems.join(QLatin1Char('\n')));
    }
    // The columns fit the figures; a gap's text runs across them.
    days->resizeColumnsToContents();
    for (const auto &gap : qAsConst(gaps)) {
        days->setItem(gap.first, 2, cell(gap.second));
        days->setSpan(gap.first, 2, 1, captions.size() - 2);
        for (int c = 0; c < 3; ++c)
            days->item(gap.first, c)->setBackground(QColor(QStringLiteral("#f4c7a1")));
    }
}

void PeriodPage::fillFindings()
{
    const QStringList captions = {tr("Driver"), tr("Rule"), tr("Kind"), tr("Start - End"), tr("Finding")};
    findings->clear();
    findings->setColumnCount(captions.size());
    findings->setHorizontalHeaderLabels(captions);
    findings->setRowCount(shown.findings.size());
    for (int r = 0; r < shown.findings.size(); ++r) {
        const period::Finding &f = shown.findings.at(r);
        findings->setItem(r, 0, cell(f.driver.isEmpty() ? period::vehicleText(f.vehicle) : f.driver));
        findings->setItem(r, 1, cell(period::ruleText(f.rule)));
        QTableWidgetItem *kind = cell(period::kindText(f.kind));
        kind->setForeground(f.kind == period::FindingKind::Breach      ? QColor(QStringLiteral("darkred"))
                            : f.kind == period::FindingKind::Exception ? QColor(QStringLiteral("darkorange"))
                                                                       : QColor(QStringLiteral("dimgray")));
        findings->setItem(r, 2, kind);
        findings->setItem(
            r, 3, cell(QStringLiteral("%1 - %2").arg(period::timeText(f.start), period::timeText(f.end))));
        QTableWidgetItem *text = cell(f.text);
        text->setToolTip(f.text);
        findings->setItem(r, 4, text);
    }
    findings->resizeColumnsToContents();
}

QByteArray PeriodPage::findingsCsv() const
{
    return vdr::csvDocument(period::findingsTable(shown.findings));
}

void PeriodPage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        emit languageChanged();
}

void PeriodPage::print()
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (printer.printerName().isEmpty()) {
        const QString path = pageprint::offerPdfInstead(
            this, tr("Period"), tr("No printer is installed. Save the page as a PDF file instead?"),
            QStringLiteral("Period.pdf"));
        if (!path.isEmpty())
            savePdf(path);
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!onPaper([&] { return pageprint::render(this, printer, QWidget::DrawChildren, Qt::white); }))
        QMessageBox::warning(this, tr("Period"), tr("The page could not be printed."));
}

bool PeriodPage::savePdf(const QString &path)
{
    const bool written =
        onPaper([&] { return pageprint::writePdf(this, path, QWidget::DrawChildren, Qt::white); });
    if (!written)
        QMessageBox::warning(
            this, tr("Period"),
            tr("The page could not be saved as a PDF file:\n%1").arg(QDir::toNativeSeparators(path)));
    else
        emit pdfSaved(path);
    return written;
}

// The page on paper: white, with the headline in black for the time `paint` runs.
bool PeriodPage::onPaper(const std::function<bool()> &paint)
{
    const QString style = headline->styleSheet();
    headline->setStyleSheet(QStringLiteral("color: black;"));
    const bool done = paint();
    headline->setStyleSheet(style);
    return done;
}
