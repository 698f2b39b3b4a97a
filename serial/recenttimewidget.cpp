#include "serial/recenttimewidget.h"
#include "ui_recenttimewidget.h"

RecentTimeWidget::RecentTimeWidget(QWidget *parent) : QWidget(parent), ui(new Ui::RecentTimeWidget)
{
    ui->setupUi(this);
}

RecentTimeWidget::~RecentTimeWidget()
{
    delete ui;
}

int RecentTimeWidget::hours() const
{
    return ui->recent_spinBox->value();
}

void RecentTimeWidget::on_buttonBox_accepted()
{
    emit onRecentTime_signal(true);
}

void RecentTimeWidget::on_buttonBox_rejected()
{
    emit onRecentTime_signal(false);
}
