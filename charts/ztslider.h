#pragma once

#include <QSlider>

// The chart page's vertical scale control.
class ZtSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ZtSlider(QWidget *parent = nullptr);
};
