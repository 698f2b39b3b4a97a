#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QTranslator;

namespace vdr {

// The viewer's texts come in two forms: in the interface's language (the "MainWindow"
// catalogue of the translators installed in the application), and as the code writes them.
enum class Texts
{
    Shown,
    Source,
};

// A text marked with QT_TRANSLATE_NOOP("MainWindow", ...), in the form asked for.
inline QString viewerText(const char *source, Texts texts)
{
    return texts == Texts::Source ? QString::fromUtf8(source)
                                  : QCoreApplication::translate("MainWindow", source);
}

// The languages of the viewer's catalogues, "en_US" and "zh_TW".
QStringList viewerLanguages();
// Loads the viewer's catalogue of a language (one of viewerLanguages()), which the program's
// resources hold, into translator; false when there is none. The window and the command-line
// tool take their texts from the same catalogues.
bool loadViewerCatalogue(QTranslator *translator, const QString &language);

} // namespace vdr
