// Window tests run inside the program's own application object, on the offscreen platform.
#include <gtest/gtest.h>

#include "app/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("  Регистратор ВЕ-17 v1.1"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
