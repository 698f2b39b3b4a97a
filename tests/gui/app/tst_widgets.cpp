// Every window and dialog builds without a broken autoconnection; the car number label wraps
// as the user sees it.
#include "gui/app/autowraplabel.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/driverkey/ztcreatedriverkeydialog.h"
#include "gui/print/ztprintwidget.h"
#include "gui/serial/recenttimewidget.h"
#include "gui/serial/ztselectdatesdialog.h"
#include "gui/serial/ztserialportdialog.h"

#include "support/testsupport.h"

#include <QtTest>

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void windowsConnectEverySlot();
    void autoWrap_data();
    void autoWrap();
    void autoWrapFollowsResize();
};

// Qt warns of an autoconnected slot whose object or signal does not exist.
void TestWidgets::windowsConnectEverySlot()
{
    QStringList broken;
    testsupport::DebugCapture capture;
    {
        MainWindow w;
        ZtPopWaitingWidget overlay;
        ZtCreateDriverKeyDialog keyDialog;
        ZtSerialPortDialog serialPortDialog;
        ZtSelectDatesDialog selectDatesDialog;
        RecentTimeWidget recentTime;
        ZtPrintWidget printPreview;
    }
    // the driver chart's scroll-bar slots are connected explicitly, not by name
    for (const QString &warning : capture.warnings())
        if (warning.contains("No matching signal") &&
            !warning.contains("on_driverScrollArea_horizontalScrollBar_"))
            broken << warning;
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
}

static QString threeLineText(const QFontMetrics &metrics, int width)
{
    QString text;
    for (int i = 0; metrics.horizontalAdvance(text) < 3 * width; ++i)
        text += QChar(QLatin1Char('a' + i % 26));
    return text;
}

void TestWidgets::autoWrap_data()
{
    QTest::addColumn<int>("marginOfLineHeight"); // margin as a share of the line height, in %
    QTest::addColumn<int>("lines");
    QTest::newRow("no margin") << 0 << 2;
    QTest::newRow("small margin") << 20 << 1;
    QTest::newRow("large margin") << 90 << 0;
}

// A text three widths long shows as many whole lines as fit, each ending before 95 pixels.
void TestWidgets::autoWrap()
{
    QFETCH(int, marginOfLineHeight);
    QFETCH(int, lines);
    AutoWrapLabel label;
    label.resize(100, 60);
    const QFontMetrics metrics(label.font());
    label.setMargin(metrics.height() * marginOfLineHeight / 100);
    const QString full = threeLineText(metrics, 100);
    label.setText(full);
    const QStringList shown = label.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(shown.size(), lines);
    if (lines == 2) {
        QVERIFY(metrics.horizontalAdvance(shown[0]) <= 95);
        QVERIFY(metrics.horizontalAdvance(shown[0] + full.at(shown[0].size())) > 95);
        QVERIFY(full.startsWith(shown[0] + shown[1]) && shown[0].size() + shown[1].size() < full.size());
    }
}

void TestWidgets::autoWrapFollowsResize()
{
    AutoWrapLabel label(QStringLiteral("ABC-5678 a long car number text"), nullptr);
    label.show();
    label.resize(2000, 60);
    QCOMPARE(label.text(), QStringLiteral("ABC-5678 a long car number text"));
    label.resize(60, 60);
    QVERIFY(label.text().contains(QLatin1Char('\n')));
    QCOMPARE(label.fullText(), QStringLiteral("ABC-5678 a long car number text"));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
