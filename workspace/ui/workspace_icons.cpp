#include "workspace_icons.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace. The resources sit
// in a static library, so nothing would pull them into the program without it.
static void initWorkspaceIconResources()
{
    Q_INIT_RESOURCE(workspace_icons);
}

namespace verdalis {
namespace WorkspaceIcons {

namespace {

QString svgPath(const QString &name)
{
    static const bool resourcesReady = (initWorkspaceIconResources(), true);
    Q_UNUSED(resourcesReady);
    return QStringLiteral(":/workspace/icons/%1.svg").arg(name);
}

QIcon svgIcon(const char *name)
{
    return QIcon(svgPath(QLatin1String(name)));
}

// Pictures whose callers lay out by their size in pixels are rendered at one
// device pixel per pixel.
QPixmap svgPixmap(const QString &name, const QSize &size)
{
    return QIcon(svgPath(name)).pixmap(size, 1.0);
}

} // namespace

QIcon openPicture()
{
    return svgIcon("open_picture");
}

QIcon reloadPicture()
{
    return svgIcon("reload_picture");
}

QIcon pictureSet()
{
    return svgIcon("picture_set");
}

QIcon help()
{
    return svgIcon("help");
}

QIcon program()
{
    return svgIcon("program");
}

QPixmap analyze()
{
    return svgPixmap(QStringLiteral("analyze"), QSize(50, 35));
}

QIcon eyedropper()
{
    return svgIcon("eyedropper");
}

QCursor eyedropperCursor()
{
    // The drop of sap at the tube's end, in the 32 x 32 drawing.
    const QPoint tip(3, 29);
    return QCursor(svgPixmap(QStringLiteral("eyedropper_pointer"), QSize(32, 32)), tip.x(),
                   tip.y());
}

QPixmap hintFrame(int index)
{
    const int step = qBound(0, index, 3);
    return svgPixmap(QStringLiteral("open_picture_hint_%1").arg(step), QSize(150, 120));
}

QIcon deleteSystem()
{
    return svgIcon("delete_system");
}

QIcon saveSystem()
{
    return svgIcon("save_system");
}

QIcon copyTable()
{
    return svgIcon("copy_table");
}

} // namespace WorkspaceIcons
} // namespace verdalis
