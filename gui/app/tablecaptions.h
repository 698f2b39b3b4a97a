#pragma once

#include <QStringList>

class QTableWidget;

// Column captions that follow the interface language. Each caption is given as its English
// source text (mark it with QT_TRANSLATE_NOOP("MainWindow", "...") so the catalogues know it);
// the header item keeps the source so the caption can be translated again later.
void setTableCaptions(QTableWidget *table, const QList<const char *> &sourceTexts,
                      const char *context = "MainWindow");

// Translates the captions set by setTableCaptions() again, in the current language.
void retranslateTableCaptions(QTableWidget *table);
