#include "gui/app/tablecaptions.h"

#include <QCoreApplication>
#include <QTableWidget>

namespace {
constexpr int kSourceRole = Qt::UserRole + 1;
constexpr int kContextRole = Qt::UserRole + 2;
} // namespace

void setTableCaptions(QTableWidget *table, const QList<const char *> &sourceTexts, const char *context)
{
    if (table->columnCount() < sourceTexts.size())
        table->setColumnCount(sourceTexts.size());
    for (int column = 0; column < sourceTexts.size(); ++column) {
        auto *item = new QTableWidgetItem(QCoreApplication::translate(context, sourceTexts.at(column)));
        item->setData(kSourceRole, QString::fromUtf8(sourceTexts.at(column)));
        item->setData(kContextRole, QString::fromUtf8(context));
        table->setHorizontalHeaderItem(column, item);
    }
}

void retranslateTableCaptions(QTableWidget *table)
{
    for (int column = 0; column < table->columnCount(); ++column) {
        QTableWidgetItem *item = table->horizontalHeaderItem(column);
        if (!item || !item->data(kSourceRole).isValid())
            continue;
        const QByteArray source = item->data(kSourceRole).toString().toUtf8();
        const QByteArray context = item->data(kContextRole).toString().toUtf8();
        item->setText(QCoreApplication::translate(context.constData(), source.constData()));
    }
}
