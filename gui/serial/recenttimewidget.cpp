#include "gui/serial/recenttimewidget.h"
#include "ui_recenttimewidget.h"

#include <QEvent>

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

void RecentTimeWidget::changeEvent(QEvent *event)
{
    // the window may stay open while the user switches the interface language
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}

void RecentTimeWidget::on_buttonBox_accepted()
{
    emit onRecentTime_signal(true);
}

void RecentTimeWidget::on_buttonBox_rejected()
{
    emit onRecentTime_signal(false);
}
