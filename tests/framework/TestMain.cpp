// Widget tests need one QApplication for the whole binary.
#include "resources/Resources.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    res::InstallResources();
    return RUN_ALL_TESTS();
}
