// Quorin: the registry of research subjects.
#include "app/CQuorinApp.h"
#include "app/Subsystems.h"
#include "dalport/Clock.h"
#include "dalport/ErrorReporter.h"
#include "database/RegistryScripts.h"
#include "framework/MessageBox.h"
#include "resources/Resources.h"

#include <QApplication>

#include <iostream>
#include <string_view>

int main(int argc, char** argv)
{
    // Answered before any window system is needed.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "quorin " << QUORIN_VERSION_TEXT << "\n";
        return 0;
    }
    QApplication application(argc, argv);
    res::InstallResources();
    if (const auto problem = dalport::ClockEnvironmentProblem()) {
        std::cerr << "quorin: " << *problem << "\n";
        framework::ShowMessage(QString::fromStdString(*problem), framework::MessageIcon::Stop,
                               framework::MessageButtons::Ok);
        return 2;
    }
    quorin::UseRegistryProfile();
    quorin::RegisterSubsystems();
    // The database library's errors are shown as the program's own boxes.
    dalport::SetErrorReporter([](const dalport::ReportedError& error) {
        framework::ShowMessage(QString::fromStdString(error.text), framework::MessageIcon::Stop,
                               framework::MessageButtons::Ok);
    });
    CQuorinApp app;
    const int start = app.InitInstance();
    if (start != CQuorinApp::kRun)
        return start;
    return application.exec();
}
