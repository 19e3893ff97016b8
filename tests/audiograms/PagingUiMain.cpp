// The paging widget tests need one QApplication, the program's resources and the
// subject registry's forms.
#include "resources/Resources.h"
#include "subjects/ui/SubjectForms.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterSubjectForms();
    return RUN_ALL_TESTS();
}
