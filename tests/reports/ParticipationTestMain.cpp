// One QApplication for the participation report tests, the program's resources and
// every subsystem's windows, so that the Reports commands open the real ones.
#include "app/Subsystems.h"
#include "resources/Resources.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterSubsystems();
    return RUN_ALL_TESTS();
}
