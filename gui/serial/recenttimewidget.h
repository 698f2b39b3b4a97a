#pragma once

#include <QWidget>

namespace Ui {
class RecentTimeWidget;
}

// Window in which the user picks how many recent hours (1-24) to download.
class RecentTimeWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RecentTimeWidget(QWidget *parent = nullptr);
    ~RecentTimeWidget() override;

    int hours() const;

signals:
    void onRecentTime_signal(bool confirm);

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::RecentTimeWidget *ui;
};
