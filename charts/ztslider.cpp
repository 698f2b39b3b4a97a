#include "charts/ztslider.h"

ZtSlider::ZtSlider(QWidget *parent) : QSlider(parent) {}
