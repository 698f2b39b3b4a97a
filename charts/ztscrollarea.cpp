#include "charts/ztscrollarea.h"

ZtScrollArea::ZtScrollArea(QWidget *parent) : QScrollArea(parent) {}
