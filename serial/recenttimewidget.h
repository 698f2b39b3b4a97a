#pragma once

#include <QWidget>

// Window in which the user picks how many recent hours to download.
class RecentTimeWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RecentTimeWidget(QWidget *parent = nullptr);

signals:
    void onRecentTime_signal(bool confirm);
};
