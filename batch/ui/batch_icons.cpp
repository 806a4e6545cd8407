#include "batch_icons.h"

// Q_INIT_RESOURCE names a function of the global namespace. The resources sit
// in a static library, so nothing would pull them into the program without it.
static void initBatchIconResources()
{
    Q_INIT_RESOURCE(batch_icons);
}

namespace verdalis {

namespace {
QIcon svgIcon(const char *name)
{
    static const bool resourcesReady = (initBatchIconResources(), true);
    Q_UNUSED(resourcesReady);
    return QIcon(QStringLiteral(":/batch/icons/%1.svg").arg(QLatin1String(name)));
}
} // namespace

QIcon BatchIcons::addSelectedFile()
{
    return svgIcon("add_file");
}

QIcon BatchIcons::addAllFiles()
{
    return svgIcon("add_all");
}

QIcon BatchIcons::rename()
{
    return svgIcon("rename");
}

QIcon BatchIcons::removeSelected()
{
    return svgIcon("remove");
}

QIcon BatchIcons::removeAll()
{
    return svgIcon("remove_all");
}

} // namespace verdalis
