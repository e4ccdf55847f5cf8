// Test entry for window and thread tests: one QApplication on the offscreen platform, or on the
// platform VE17_TEST_PLATFORM names (a test of X11's own key bindings runs on xcb under Xvfb).
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("VE17_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
