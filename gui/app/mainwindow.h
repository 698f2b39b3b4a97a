#pragma once

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QMainWindow>
#include <QPointF>
#include <QSerialPort>
#include <QString>
#include <QVector>

#include "gui/app/qtcompat.h"
#include "core/charts/plotmodel.h"

#include "core/route/routeexport.h"
#include "core/serial/downloadsession.h"
#include "core/serial/portsettings.h"
#include "core/vdr/dayreport.h"
#include "core/vdr/driving.h"

QT_CHARTS_BEGIN_NAMESPACE
class QCategoryAxis;
class QLineSeries;
QT_CHARTS_END_NAMESPACE
QT_CHARTS_USE_NAMESPACE

class QAction;
class QMenu;
class QCloseEvent;
class QTimer;
class QDragEnterEvent;
class QDropEvent;
class QTranslator;
class ZtPopWaitingWidget;
class RecentTimeWidget;
class ZtPrintWidget;
class SpeedPlot;
class RouteMap;
class PeriodPage;
class TimeChart;

namespace Ui {
class MainWindow;
}
namespace period {
struct Finding;
}

// The one window of the program. It owns every page, the charts, the serial port and the
// decoded state of the day on display. Its methods are spread over one source file per
// subsystem (app/, vdr/, charts/, import/, serial/, print/, driverkey/); they decode through
// the widget-free core library and only move the results into widgets.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    // --- shared window services (app/mainwindow_services.cpp) ---
    void appendLog(const QString &text, const QColor &colour);
    void showMessage(const QString &text);
    void clearAllPages();
    bool isLogPageShown() const;
    ZtPopWaitingWidget *waitingOverlay() const { return waitingWidget; }

    // --- language (app/mainwindow_language.cpp) ---
    // The interface languages, by the numbers of the debug output. SourceTexts loads no
    // catalogue (the texts as the code writes them); NotSet is the state before the first switch.
    enum class Language
    {
        English = 0,
        Chinese = 1,
        SourceTexts = 2,
        NotSet = 4,
    };
    void setLanguage(Language language);
    Language language() const { return currentLanguage; }

    // --- day file container (vdr/mainwindow_vdr.cpp) ---
    void openFileLater(const QString &path);
    void readVdrFile(const QString &path);
    // Decodes the bytes of a day file into the day model and fills every page from it; path
    // names the file (its name gives the day), empty for bytes of no file.
    void parseVdrContainer(QByteArray &data, const QString &path = QString());
    QString recorderTimeText(const uchar *p) const;
    QDateTime recorderDateTime(const uchar *p) const;
    // The day on display, decoded once; empty when none is shown.
    const vdr::DayReport &dayModel() const { return day; }

    // --- working directories ---
    QString workingDirectory() const { return workingDirPath; }
    QString archiveDirectory() const { return archiveDirPath; }

    // --- block pages, one per data type ---
    // Each shows a block of the day model: its dump while the log page is shown, then its
    // message or its page. The forms with bytes decode a block that is no part of a file into
    // the model first, as the next block of the day.
    void parseFaultEventData(const vdr::BlockReport &block); // vdr/mainwindow_faultevent.cpp
    void parseFaultEventData(const char *data, uint size);
    void parseSpeedData(const vdr::BlockReport &block); // vdr/mainwindow_speed.cpp
    void parseSpeedData(const uchar *data, int size);
    void parseTechnologyData(const vdr::BlockReport &block); // vdr/mainwindow_technology.cpp
    void parseTechnologyData(const uchar *data, uint size);
    void parseDrivingData(const vdr::BlockReport &block); // vdr/mainwindow_driving.cpp
    void parseDrivingData(const uchar *data, int size);
    void parseLocationData(const vdr::BlockReport &block); // vdr/mainwindow_location.cpp
    void parseLocationData(const uchar *data, int size);

    // --- fault & event page (vdr/mainwindow_faultevent.cpp) ---
    void dumpFaultEventData(const vdr::BlockReport &block);
    QString faultTypeText(char type) const;
    QString durationText(const uchar *start, const uchar *end, bool isEvent, int type) const;

    // --- technology page (vdr/mainwindow_technology.cpp) ---
    void dumpTechnologyData(const vdr::BlockReport &block);
    bool useNewTechnologyLayout(const uchar *data, uint size) const;

    // --- location page (vdr/mainwindow_location.cpp) ---
    void setupLocationTables();
    void dumpLocationData(const vdr::BlockReport &block);
    QString gpsPointText(const uchar *fix) const;

    // --- speed tables (vdr/mainwindow_speed.cpp) ---
    void initSpeedTables();
    void dumpSpeedData(const vdr::BlockReport &block);
    // The speed block the tables, the cursor and the print report read: the day's last speed
    // block when it passed its size rule, else an empty one.
    const vdr::SpeedResult &storedSpeed() const;

    // --- driver table (vdr/mainwindow_driving.cpp) ---
    void initDriverTable();
    void dumpDrivingData(const vdr::BlockReport &block);
    void driverActivityAddSec(vdr::ActivityTotals &totals, qint64 seconds, qint8 code);

    // --- speed chart (charts/mainwindow_speedchart.cpp) ---
    void initSpeedChart();
    void fitChartTimeRange();
    // True when the event was the charts' own (a wheel turn over a chart).
    bool chartEventFilter(QObject *watched, QEvent *event);
    void retranslateCharts();
    void placeSpeedTimeLine(bool show);
    void updateSpeedCursor(const QDateTime &t);
    // The time axis of both charts: the day from 00:00 to 00:00 of the next day, or any span,
    // with the ticks of the current scale.
    void setChartDay(const QDate &day);
    void setChartRange(const QDateTime &min, const QDateTime &max);
    // The day's speed line, every point (ms since the epoch, km/h); the chart draws what is on
    // screen of it.
    void showSpeedLine(const QVector<QPointF> &points);
    // Empties the cursor with its panel and time line, the speed line and the driver lines.
    void clearCharts();
    // Each chart draws the part of the day that its scroll area shows.
    void layOutSpeedChart();
    void layOutDriverChart();
    // Shades the day's fault and event periods and marks its clipped speeds on the speed chart.
    void showChartFaults();
    // The chart page's keys: the cursor moved by ms (half a second, a minute) or to the first
    // or last sample, and kept in view.
    void stepSpeedCursor(qint64 ms);
    void speedCursorToEnd(bool last);

    // --- driver chart (charts/mainwindow_driverchart.cpp) ---
    void initDriverChart();
    // Puts a driver line into the chart, on its axes.
    void showDriverLine(QLineSeries *series);
    // Removes the driver lines from the chart and deletes them.
    void dropDriverSeries();

    // --- driver panel and the cursor's driver texts (charts/mainwindow_driverpanel.cpp) ---
    // The cursor's driver and the driver's activity at t.
    void cursorDriverAt(const QDateTime &t, plot::SpeedCursor &cursor) const;
    void showDriverSummary(int slot);
    // The driver line of a slot (0..6), null when there is none.
    QLineSeries *driverLine(int slot) const;
    // Seconds per activity of a slot (0..6), Driving, Stopping, Standby, Resting.
    vdr::ActivityTotals driverTotals(int slot) const;
    const QVector<vdr::DriverChange> &driverChanges() const { return day.driverChanges; }

    // --- imports (import/mainwindow_import.cpp) ---
    // The work of the two import buttons once their chooser has answered; an empty path
    // (a cancelled chooser) changes nothing.
    void importFolder(const QString &dir);
    void importTarArchive(const QString &path);
    // Copies the day files of dir into the renewed working directory, fills the date list
    // and opens its first day. Links in dir are followed only for a folder the user chose.
    void importDayFolder(const QString &dir, bool followLinks);
    QString tarArchivePath() const { return tarFilePath; }
    // Empties the date list and drops a day that was chosen from it but not opened yet.
    void clearDateList();
    // Adds a day to the date list: shown as "yyyy/MM/dd", with the day itself as the entry's
    // data, which choosing the entry opens.
    void addDateListDay(const QDate &day);
    // The day of an entry of the date list; invalid for an entry that holds none.
    QDate dateListDay(int index) const;

    // --- serial download (serial/mainwindow_serial.cpp) ---
    void setConnectionState(bool connected);
    // Opens the port with the settings (as the settings dialog does with its own); on success
    // listens to it and shows the connected state, on failure tells the user.
    bool connectSerialPort(const serial::PortSettings &settings);
    void disconnectSerialPort();
    bool isSerialPortOpen() const { return serialPort.isOpen(); }
    // The answers of the two download dialogs.
    void startRangeDownload(const QDate &first, const QDate &last);
    bool startRecentDownload(int hours);
    qint64 serialWrite(const QByteArray &frame);
    // Takes one frame (or the recorder's error frame) from the buffer and acts on it, as
    // every read does with serialRxBuffer; returns whether something was taken.
    bool parseSerialFrame(QByteArray &buffer);
    // Writes data as the day file of the day being fetched; a failure is said on the log page
    // and the day counted as not written.
    bool saveDownloadedDay(const QByteArray &data);
    const serial::Download &downloadState() const { return downloadSession.download(); }
    // A download that hears nothing from the recorder for this long while it waits for an
    // answer ends as a link error (serial::kAnswerTimeoutMs unless set).
    void setAnswerTimeout(int ms) { downloadSession.setAnswerTimeout(ms); }
    // Keys and entries that would change the date list or the day shown are refused while
    // a download runs (and, with alsoWhileConnected, while the port is open): tells the
    // user and returns true.
    bool refuseDuringDownload(bool alsoWhileConnected);
    RecentTimeWidget *recentTimeWindow() const { return recentTimeWidget; }

    // --- printing (print/mainwindow_print.cpp) ---
    // Builds and shows a print preview of the speed chart as it is now (the slot of "Print");
    // the preview is a window of its own, released when it is closed.
    ZtPrintWidget *openPrintPreview();

    // --- desktop conveniences (app/mainwindow_desktop.cpp) ---
    // Drops, the keyboard shortcuts and "Tool" > "Export table...".
    void setupDesktopConveniences();
    void retranslateDesktopTexts();
    // Remembers the day file on display (empty: none), for the export and F5.
    void setDisplayedDayFile(const QString &path);
    QString displayedDayFile() const { return displayedFilePath; }
    // Writes the table(s) of the current page as CSV; false (with a reason) when the page
    // has no table, no day is shown or the file cannot be written.
    bool exportCurrentPage(const QString &path, QString *error = nullptr);
    // Enables "Export table..." when a day is shown and the current page has a table.
    void updateExportAction();
    QAction *exportTableAction() const { return exportAction; }
    // Reopens the day on display (F5); moves the date list by one (Page Up / Page Down).
    void reloadCurrentDay();
    void stepDateList(int step);
    // The "File" menu's recent list: days, folders and archives opened, the latest first.
    // Choosing an entry opens it as its kind is opened; one that is gone is taken off the list.
    void addRecent(const QString &path);
    void openRecent(const QString &path);
    QMenu *recentMenu() const { return recentFilesMenu; }
    // A short note that something was saved, in the status bar; it blocks nothing.
    void confirmSaved(const QString &text);
    // The title: the program and its version, then the day on display and its car number.
    void updateWindowTitle();

    // --- route map and route export (route/mainwindow_route.cpp) ---
    // Puts the "Map" page after "Location" with the map in it.
    void initRouteMap();
    // The map shows the route of the day model (none when it has no positioned fix).
    void updateRouteMap();
    // Highlights the fixes of an hour of the location page's hour list (-1: none).
    void highlightRouteHour(int hourRow);
    // The map's cursor mark at the fix nearest in time to the chart's cursor; none.
    void showRouteCursor(const QDateTime &t);
    void clearRouteCursor();
    RouteMap *routeMapView() const { return routeMap; }
    // "Tool" > "Export route...": the day's route as GPX or KML; false with the reason when
    // the day has no positioned fix or the file cannot be written (nothing written then).
    bool exportRoute(const QString &path, route::RouteFormat format, QString *error);
    QAction *exportRouteAction() const { return routeExportAction; }

    // --- the "Period" page over the days of the date list (period/mainwindow_period.cpp) ---
    void setupPeriodPage();
    PeriodPage *periodPageWidget() const { return periodPage; }
    bool isPeriodPageCurrent() const;
    // The day files of the date list, each day once, in list order.
    QStringList dateListFiles() const;
    // Reads the days of the date list into the page now.
    void rebuildPeriodPage();
    // Opens the finding's day as a click in the date list does and puts the speed chart's
    // cursor at the finding's start, on the chart page.
    void openFinding(const period::Finding &finding);

public slots:
    void on_actionEnglish_triggered();
    void on_actionChinese_triggered();
    void on_actionversion_triggered();
    void on_actionCreate_triggered();
    void on_actionsnapshot_triggered();
    void on_actionPrint_triggered();
    void on_openfile_clicked();
    void on_importFloder_clicked();
    void on_importTar_clicked();
    void on_rs232_clicked();
    void on_date_clicked();
    void on_recenttime_clicked();
    void onCalendarDate_clicked(QDate day);
    void onRecentTime_slot(bool confirm);
    // The overlay's "Cancel" during a download: disconnects as the "Disconnet..." button does.
    void cancelDownload();
    void on_tabWidget_currentChanged(int index);
    void readyReadSlot();
    void OnParseTarFileLater();
    void OnParseVDRFileLater();
    void on_verticalSlider_valueChanged(int value);
    void on_driverScrollArea_horizontalScrollBar_valueChanged(int value);
    void on_driverScrollArea_horizontalScrollBar_sliderMoved(int position);
    void on_driverScrollArea_horizontalScrollBar_sliderReleased();
    void showLoading(QString qstr);
    void hideLoading();
    void tooltip(QPointF point);
    void DriveQLinePress_0(QPointF point);
    void DriveQLinePress_1(QPointF point);
    void DriveQLinePress_2(QPointF point);
    void DriveQLinePress_3(QPointF point);
    void DriveQLinePress_4(QPointF point);
    void DriveQLinePress_5(QPointF point);
    void DriveQLinePress_6(QPointF point);
    void resetZtScrollAreaFixedWidth();
    void on_id_comboBox_currentIndexChanged(int index);
    void on_actionDebug_triggered(bool checked);
    void on_speedTime_table_itemSelectionChanged();
    void on_locationTime_table_itemSelectionChanged();
    void on_date_comboBox_currentIndexChanged(int index);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void retranslateTexts();
    // Fills the open day's pages again from the model, in the current language.
    void refillDayPages();
    void fillEventPage();
    void fillTechnologyPage();
    void fillDriverTableTexts();
    // Decodes a block of no file into the model; returns it as the model now holds it.
    vdr::BlockReport addLoneBlock(quint8 dataId, const void *data, quint32 size);
    void showDump(const QString &heading, const vdr::BlockDump &dump);

    Ui::MainWindow *ui = nullptr;
    QSerialPort serialPort;
    ZtPopWaitingWidget *waitingWidget = nullptr;
    RecentTimeWidget *recentTimeWidget = nullptr;

    // speed history chart: chart, axes, line and cursor; its view is a child of speedWidget
    SpeedPlot *speedPlot = nullptr;
    bool rescaling = false;      // the charts are laid out at the end of a scale change
    qint64 zoomAnchorMs = 0;     // the instant a scale change keeps at column zoomAnchorX of
    int zoomAnchorX = -1;        // the charts' areas (-1: the cursor's, or the middle's)
    int wheelZoomRest = 0;       // wheel turn short of a notch
    void scrollChartsTo(qint64 ms, int column);

    // driver activity chart: its view is a child of driverWidget; the time axis follows the
    // speed chart's
    TimeChart *driverPlot = nullptr;
    QCategoryAxis *driverAxisY = nullptr;
    QLineSeries *driverSeries[7] = {};
    void resetDriverSeries();
    QStringList driverActivityLabels() const;

    // The day on display, decoded once from its file's bytes: the pages and the table export
    // are filled from it, the cursor and the print report take their speed samples and driver
    // changes from it. It takes each block as its page shows it, and each page clearing renews
    // it, so that it never holds blocks of another day.
    vdr::DayReport day;
    quint64 dayGeneration = 0; // counts the page clearings

    QString currentFilePath;
    QString tarFilePath;

    QTranslator *translator = nullptr;
    Language currentLanguage = Language::NotSet;

    // download: the first day of the last range (invalid after a recent-hours download);
    // the days, the request template, the package number and the day's data live in the
    // session, which also keeps the receive buffer and the time limits.
    QDate startDate;
    serial::DownloadSession downloadSession;
    // the session's received bytes not yet taken as frames
    QByteArray &serialRxBuffer = downloadSession.receiveBuffer();
    QMetaObject::Connection serialErrorConnection; // the port's failures go to the session
    void setupSerialLink();
    // After the port was opened, or failed to open.
    bool serialPortOpened(bool opened);
    // A day is about to be requested: its date list entry, cleared pages.
    void onDayRequested(const QDate &day);
    QString downloadFailureText(serial::Failure failure, const QDate &day) const;
    void onDownloadProgress(const QString &text);
    void onSerialError(serial::Failure failure);
    // Ends the download that ran: drops the date list entries of days without a file and
    // tells the user which days are missing; after an error (which the message repeats)
    // once the error has had its time on the overlay.
    void closeDownload(const serial::DownloadResult &result);

    QString workingDirPath;
    QString archiveDirPath;

    // desktop conveniences (app/mainwindow_desktop.cpp)
    QAction *exportAction = nullptr;
    QString displayedFilePath; // the day file on display, empty when none
    void exportTableChosen();
    QMenu *fileMenu = nullptr;
    QMenu *recentFilesMenu = nullptr;
    void setupFileMenu();
    void rebuildRecentMenu();
    QTranslator *qtTranslator = nullptr; // Qt's own texts (dialogs, standard buttons)

    // route map (route/mainwindow_route.cpp)
    RouteMap *routeMap = nullptr;
    QAction *routeExportAction = nullptr;
    void exportRouteChosen();

    // the "Period" page (period/mainwindow_period.cpp): rebuilt when shown after the date list
    // or the language changed, or shortly after such a change while it is shown
    PeriodPage *periodPage = nullptr;
    QTimer *periodTimer = nullptr;
    bool periodStale = true;
    void markPeriodStale();
    void retitlePeriodPage();
};
