// The tool and the viewer show the same day the same way: the full sample day opened through
// MainWindow (in English, the tool's language by default) and through tavrin-vdr.
#include "support/clirunner.h"

#include "gui/app/mainwindow.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

// The rows of every table in a browser's document, each row its cells' texts.
QList<QStringList> documentTableRows(const QTextDocument *document)
{
    QList<QStringList> rows;
    const QList<QTextFrame *> frames = document->rootFrame()->childFrames();
    for (QTextFrame *frame : frames) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue; // a spanned cell counts once
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                cells << cursor.selectedText();
            }
            rows << cells;
        }
    }
    return rows;
}

QList<QStringList> csvRows(const QByteArray &csv)
{
    // the exports compared here hold no quoted fields
    QList<QStringList> rows;
    for (const QByteArray &line : csv.mid(3).split('\n'))
        if (!line.trimmed().isEmpty())
            rows << QString::fromUtf8(line.trimmed()).split(QLatin1Char(','));
    return rows;
}

QStringList tableColumn(const QTableWidget *table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << (table->item(r, column) ? table->item(r, column)->text() : QString());
    return texts;
}

} // namespace

class TestCliViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void faultTables();
    void hourAndMinuteLists();
    void driverTotalsAndMinutes();

private:
    QTemporaryDir dir;
    QString path;
    QJsonObject day;
    testsupport::ModalCloser closer;
    MainWindow *window = nullptr;
    template <typename T> T *child(const char *name) { return window->findChild<T *>(QLatin1String(name)); }
};

void TestCliViewer::initTestCase()
{
    const QDate date(2024, 1, 31);
    path = testsupport::writeFile(dir.path(), vdrenc::dayFileName(date), vdrenc::sampleDay(date, 7));
    const CliRun run = runCli({"dump", "--json", path});
    QCOMPARE(run.exitCode, 0);
    day = QJsonDocument::fromJson(run.out).object();
    QVERIFY(day["sound"].toBool());

    window = new MainWindow;
    window->setLanguage(MainWindow::Language::English); // the tool's default
    QCoreApplication::processEvents(); // the language change reaches the charts
    window->readVdrFile(path);
    QVERIFY(closer.texts().isEmpty());
}

void TestCliViewer::faultTables()
{
    const QList<QStringList> shown = documentTableRows(child<QTextBrowser>("eventtextBrowser")->document());
    const QList<QStringList> exported = csvRows(runCli({"export", path, "--table", "events"}).out);
    QList<QStringList> shownRecords;
    for (const QStringList &row : shown)
        if (row.size() >= 4 && row.at(0).toInt() > 0) // the record rows start with their index
            shownRecords << row;
    QCOMPARE(shownRecords.size(), exported.size() - 1);
    // both report pages show their top
    QCOMPARE(child<QTextBrowser>("eventtextBrowser")->textCursor().position(), 0);
    QCOMPARE(child<QTextBrowser>("techtextBrowser")->textCursor().position(), 0);
    QVERIFY(shownRecords.size() > 2);
    for (int i = 0; i < shownRecords.size(); ++i) {
        QStringList fromTool = exported.at(i + 1).mid(1); // without the record kind
        if (fromTool.last().isEmpty())
            fromTool.removeLast(); // an error record has no count
        QCOMPARE(shownRecords.at(i), fromTool);
    }
}

void TestCliViewer::hourAndMinuteLists()
{
    QStringList hours, minutes;
    for (const QJsonValue &v : day["locationHours"].toArray())
        hours << v.toString();
    for (const QJsonValue &b : day["blocks"].toArray())
        for (const QJsonValue &m : b.toObject()["minutes"].toArray())
            minutes << m.toObject()["start"].toString();
    QVERIFY(!hours.isEmpty());
    QCOMPARE(minutes.size(), 1440);
    QCOMPARE(tableColumn(child<QTableWidget>("locationTime_table"), 1), hours);
    QCOMPARE(tableColumn(child<QTableWidget>("speedTime_table"), 1), minutes);

    // An hour chosen shows its fixes: the first rows of the export, which lists them hour by hour.
    child<QTableWidget>("locationTime_table")->selectRow(0);
    auto *fixes = child<QTableWidget>("locationInfo_table");
    const QList<QStringList> exported = csvRows(runCli({"export", path, "--table", "location"}).out);
    QVERIFY(fixes->rowCount() > 1 && exported.size() > fixes->rowCount() + 1);
    for (int r = 0; r < fixes->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < fixes->columnCount(); ++c)
            row << fixes->item(r, c)->text();
        QCOMPARE(row, exported.at(r + 1));
    }
    QVERIFY(!exported.at(fixes->rowCount() + 1).at(0).startsWith(hours.first().left(13)));
}

void TestCliViewer::driverTotalsAndMinutes()
{
    auto *ids = child<QComboBox>("id_comboBox");
    const QJsonArray totals = day["driverTotals"].toArray();
    QCOMPARE(ids->count(), totals.size());
    for (int i = 0; i < totals.size(); ++i) {
        const QJsonObject t = totals[i].toObject();
        ids->setCurrentIndex(i);
        window->showDriverSummary(i + 2);
        QCOMPARE(ids->currentText(), t["driver"].toString());
        QCOMPARE(child<QLabel>("drivingtime_value")->text(), t["driving"].toString());
        QCOMPARE(child<QLabel>("stoptime_value")->text(), t["stopping"].toString());
        QCOMPARE(child<QLabel>("standbytime_value")->text(), t["standby"].toString());
        QCOMPARE(child<QLabel>("restingtime_value")->text(), t["resting"].toString());
    }

    const QList<QStringList> exported = csvRows(runCli({"export", path, "--table", "driver"}).out);
    auto *table = child<QTableWidget>("driverInfo_table");
    QCOMPARE(table->rowCount(), exported.size() - 1);
    for (int r = 0; r < table->rowCount(); r += 37)
        QCOMPARE(
            QStringList({table->item(r, 0)->text(), table->item(r, 1)->text(), table->item(r, 2)->text()}),
            exported.at(r + 1));
}

QTEST_MAIN(TestCliViewer)
#include "tst_cliviewer.moc"
