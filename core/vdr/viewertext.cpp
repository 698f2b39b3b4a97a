#include "core/vdr/viewertext.h"

#include <QTranslator>

// The compiled catalogues are a resource library of their own (resources/CMakeLists.txt).
static void initTranslationResources()
{
    Q_INIT_RESOURCE(translations);
}

namespace vdr {

QStringList viewerLanguages()
{
    return {QStringLiteral("en_US"), QStringLiteral("zh_TW")};
}

bool loadViewerCatalogue(QTranslator *translator, const QString &language)
{
    static const bool resourcesReady = (initTranslationResources(), true);
    Q_UNUSED(resourcesReady)
    return viewerLanguages().contains(language) &&
           translator->load(QStringLiteral(":/language/tavrin_") + language);
}

} // namespace vdr
