#include "TForm1.h"
#include "platform/QtDialogs.h"
#include "platform/SystemClock.h"
#include "platform/SystemFolders.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kandolor"));

    QtDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    Services services{dialogs, clock, folders};

    TForm1 mainWindow(services);
    mainWindow.show();
    return QApplication::exec();
}
