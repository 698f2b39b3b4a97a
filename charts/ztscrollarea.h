#pragma once

#include <QScrollArea>

// Scroll area of a chart.
class ZtScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ZtScrollArea(QWidget *parent = nullptr);
};
