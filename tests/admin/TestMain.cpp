// Widget tests need one QApplication for the whole binary, the program's resources and
// the administration dialogs.
#include "admin/ui/AdminDialogs.h"
#include "resources/Resources.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Widget tests never need a display, also when run by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterAdminDialogs();
    return RUN_ALL_TESTS();
}
