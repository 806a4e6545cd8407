#include "main_window.h"
#include "picture_reader.h"
#include "qt_dialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verdalis"));
    verdalis::setPictureAllocationLimit();

    verdalis::QtDialogs dialogs;
    verdalis::MainWindow window(dialogs);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
