// Test entry: a QApplication on the offscreen platform (widgets need one; core
// tests simply do not use it), a pinned locale and time zone, then GoogleTest.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Pinned here too so a test binary run by hand behaves as under CTest.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LANG", "C.UTF-8", 0);
    setenv("LC_ALL", "C.UTF-8", 0);
    setenv("TZ", "UTC", 0);
    setenv("VELTRANO_TEST_DATA", VELTRANO_TEST_DATA_DIR, 0);
    setenv("VELTRANO_BINARY_DIR", VELTRANO_BINARY_DIR_PATH, 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
