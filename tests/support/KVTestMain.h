#pragma once

#include "KVTestEnvironment.h"

#include <QtTest>

// Like QTEST_MAIN, but first points HOME, XDG folders and settings away from the real home.
#define KAVIO_TEST_MAIN_APP(TestObject, AppClass)                                                  \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        KVTestEnvironment::prepare();                                                            \
        AppClass app(argc, argv);                                                                \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }

#define KAVIO_TEST_MAIN(TestObject) KAVIO_TEST_MAIN_APP(TestObject, QCoreApplication)
#define KAVIO_GUI_TEST_MAIN(TestObject) KAVIO_TEST_MAIN_APP(TestObject, QApplication)

// Web-engine tests must share OpenGL contexts and register the application's URL schemes before
// the application exists (only programs that link the web engine see its header).
#if __has_include(<QWebEngineUrlScheme>)
#include "host/ResourceUrlScheme.h"
#define KAVIO_REGISTER_URL_SCHEMES() registerResourceUrlScheme()
#else
#define KAVIO_REGISTER_URL_SCHEMES() ((void)0)
#endif
#define KAVIO_WEBENGINE_TEST_MAIN(TestObject)                                                     \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        KVTestEnvironment::prepare();                                                            \
        KAVIO_REGISTER_URL_SCHEMES();                                                            \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                              \
        QApplication app(argc, argv);                                                            \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }
