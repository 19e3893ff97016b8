// The accessibility tests see the program as it starts: its resources and every
// subsystem's forms registered, so that the template table below is the program's own.
#include "app/Subsystems.h"
#include "resources/Resources.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterSubsystems();
    // After the registration: the table-driven tests take their rows from it.
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
