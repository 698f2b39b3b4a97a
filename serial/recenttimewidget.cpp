#include "serial/recenttimewidget.h"

RecentTimeWidget::RecentTimeWidget(QWidget *parent) : QWidget(parent) {}
