#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (ctest does it before every run) needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    qputenv("VOKTA_SOUND", "off");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
