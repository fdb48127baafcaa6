// The desktop program.
#include "ui/desktop/CommandIcons.h"
#include "ui/desktop/QuantorixApp.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

#ifndef QTX_VERSION
#define QTX_VERSION "0"
#endif

int main(int argc, char* argv[])
{
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quantorix (Quantorix) %s\n", QTX_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: quantorix [FILE.qtx]\n\n"
                        "Opens the calculation sheet FILE.qtx (or a new sheet) in the Quantorix window.\n"
                        "  --version  print the version and exit\n"
                        "See quantorix(1); the command line tool is qtx(1).\n");
            return 0;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quantorix"));
    QApplication::setOrganizationName(QStringLiteral("Quantorix"));
    QApplication::setDesktopFileName(QStringLiteral("quantorix"));
    CQuantorixApp::LoadChineseTranslations();
    QApplication::setWindowIcon(AppIcon());

    QStringList args = QApplication::arguments();
    args.removeFirst();
    CQuantorixApp app;
    if (!app.InitInstance(args))
        return 1;
    return application.exec();
}
