// One QApplication for all tests of the window layer (offscreen).
#pragma once

#include "core/text/TextCodec.h"

#include <QApplication>
#include <string>

inline QApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* pApp = new QApplication(argc, argv);
    return *pApp;
}

// GBK from a UTF-8 literal, to keep the tests readable.
inline std::string Gbk(const char* utf8)
{
    return textcodec::Utf8ToGbk(CUtf8Text(utf8));
}
