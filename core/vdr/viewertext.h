#pragma once

#include <QCoreApplication>
#include <QString>

namespace vdr {

// The viewer's texts come in two forms: as the window shows them, in the interface's language
// (the "MainWindow" catalogue), and as the code writes them, the one form of the exported
// tables whatever the interface's language.
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

} // namespace vdr
