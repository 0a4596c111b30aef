#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // Headless unless a display is asked for, and the same separator everywhere.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
