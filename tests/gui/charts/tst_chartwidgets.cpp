// The scale slider with its buttons and label, and the chart scroll area's frozen strip.
#include "gui/charts/ztscrollarea.h"
#include "gui/charts/ztslider.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

static QString sliderTr(const char *text)
{
    return QCoreApplication::translate("ZtSlider", text);
}

// A vertical slider in a parent, with its label and buttons made.
static ZtSlider *verticalSlider(QWidget *parent)
{
    auto *slider = new ZtSlider(parent);
    slider->setOrientation(Qt::Vertical);
    QCoreApplication::processEvents(); // the first turn of the loop makes them
    return slider;
}

class TestChartWidgets : public QObject
{
    Q_OBJECT

private slots:
    void extraWidgets();
    void buttonsAtRangeEnds_data();
    void buttonsAtRangeEnds();
    void freezeTwiceLeavesOne();
    void frozenLabelFollowsResize();
};

void TestChartWidgets::extraWidgets()
{
    QWidget parent;
    ZtSlider *slider = verticalSlider(&parent);
    QCOMPARE(parent.findChildren<QPushButton *>().size(), 2);
    delete slider; // takes its label and buttons along
    QVERIFY(parent.findChildren<QWidget *>().isEmpty());
}

void TestChartWidgets::buttonsAtRangeEnds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("plus");
    QTest::addColumn<int>("after");
    QTest::newRow("minus at the minimum") << 1 << false << 1;
    QTest::newRow("plus at the maximum") << 7 << true << 7;
}

void TestChartWidgets::buttonsAtRangeEnds()
{
    QFETCH(int, start);
    QFETCH(bool, plus);
    QFETCH(int, after);
    QWidget parent;
    ZtSlider *slider = verticalSlider(&parent);
    slider->setRange(1, 7);
    slider->setValue(start);
    QSignalSpy changed(slider, &QSlider::valueChanged);
    (plus ? slider->plusButton() : slider->minusButton())->click();
    QCOMPARE(slider->value(), after);
    QCOMPARE(changed.size(), start == after ? 0 : 1);
    QCOMPARE(slider->valueLabel()->text(),
             sliderTr("Scale") + QLatin1Char('\n') + ZtSlider::scaleName(after));
}

void TestChartWidgets::freezeTwiceLeavesOne()
{
    QWidget parent;
    parent.resize(400, 300);
    auto *area = new ZtScrollArea(&parent);
    area->setGeometry(5, 7, 300, 200);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget;
    content->setStyleSheet(QStringLiteral("background: red;"));
    area->setWidget(content);
    area->setWidgetResizable(true);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    area->freezeLeftStrip(54, 65);
    area->freezeLeftStrip(52, 0);
    QCoreApplication::processEvents();
    QCOMPARE(parent.findChildren<QLabel *>().size(), 1);
    QCOMPARE(area->frozenLabel()->geometry(), QRect(5, 7, 52, 200));
    // the strip is a picture of the area as it was
    QCOMPARE(QColor(area->frozenLabel()->pixmap(Qt::ReturnByValue).toImage().pixel(10, 10)), QColor(Qt::red));
}

void TestChartWidgets::frozenLabelFollowsResize()
{
    QWidget parent;
    parent.resize(700, 400);
    auto *withBar = new ZtScrollArea(&parent);
    withBar->setGeometry(0, 0, 300, 200);
    withBar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    withBar->setWidget(new QWidget);
    auto *area = new ZtScrollArea(&parent);
    area->setGeometry(350, 0, 300, 200);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFrameShape(QFrame::NoFrame); // as the chart areas of the window
    area->setWidget(new QWidget);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    // a visible scroll bar is left uncovered, like the bottom cut
    withBar->freezeLeftStrip(52, 0);
    QCOMPARE(withBar->frozenLabel()->height(), 200 - withBar->horizontalScrollBar()->height());

    area->freezeLeftStrip(54, 65);
    QCOMPARE(area->frozenLabel()->geometry(), QRect(350, 0, 54, 135));
    // after a resize the strip reaches the full new height, the cut part included
    area->resize(300, 260);
    QCOMPARE(area->frozenLabel()->geometry(), QRect(350, 0, 54, 260));
}

QTEST_MAIN(TestChartWidgets)
#include "tst_chartwidgets.moc"
