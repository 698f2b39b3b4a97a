#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>

// The chart page's vertical scale control: a plus button above the slider, and below it a
// label naming the scale ("Scale" and "1 hour" ... "30 sec") and a minus button. The three
// extra widgets are children of the slider's parent, so the parent's layout leaves them
// alone; the slider places them itself whenever it moves.
class ZtSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ZtSlider(QWidget *parent = nullptr);
    ~ZtSlider() override;

    // The scale name of a slider value, in the current language; empty for a value outside 1..7.
    static QString scaleName(int value);

    QLabel *valueLabel() const { return m_valueLabel; }
    QPushButton *minusButton() const { return m_minusButton; }
    QPushButton *plusButton() const { return m_plusButton; }

public slots:
    void OnFirstTimeInitial();
    void setValueText(int value);
    void OnMinus();
    void OnPlus();

protected:
    bool event(QEvent *e) override;

private:
    void placeExtraWidgets(); // label below the slider, plus button above, minus button below the label

    QPointer<QLabel> m_valueLabel;
    QPointer<QPushButton> m_minusButton;
    QPointer<QPushButton> m_plusButton;
};
