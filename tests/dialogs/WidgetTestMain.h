#pragma once

#include <QApplication>
#include <QTest>

#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// The application object of a widget test, as QTEST_MAIN makes it.
inline std::unique_ptr<QApplication> createTestApplication(int &argc, char **argv)
{
#if defined(__SANITIZE_ADDRESS__)
    // Qt 5.15's off-screen platform plugin never frees the screen it makes
    // at start-up; that leak is not the test's and would hide real ones.
    __lsan::ScopedDisabler platformStartUp;
#endif
    auto app = std::make_unique<QApplication>(argc, argv);
    app->setAttribute(Qt::AA_Use96Dpi, true);
    return app;
}

// QTEST_MAIN for widget tests that also run under the leak checker.
#define KSR_WIDGET_TEST_MAIN(TestObject)                                    \
    int main(int argc, char *argv[])                                        \
    {                                                                       \
        const std::unique_ptr<QApplication> app = createTestApplication(argc, argv); \
        TestObject test;                                                    \
        return QTest::qExec(&test, argc, argv);                             \
    }
