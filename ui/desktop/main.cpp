// The desktop program.
#include "ui/desktop/QuantorixApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quantorix"));
    QApplication::setOrganizationName(QStringLiteral("Quantorix"));
    QApplication::setDesktopFileName(QStringLiteral("quantorix"));

    QStringList args = QApplication::arguments();
    args.removeFirst();
    CQuantorixApp app;
    if (!app.InitInstance(args))
        return 1;
    return application.exec();
}
