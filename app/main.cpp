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

namespace {

constexpr const char* kHelp =
    "usage: quorin [--version] [--help] [Qt options]\n"
    "\n"
    "The registry of research subjects of a hearing-research institute. Quorin asks for a\n"
    "login and opens the registry on a SQL Server or in a registry folder of its embedded\n"
    "engine. Started without a registry in the default folder, it first offers to create a\n"
    "demo registry or an empty one, or to use a server.\n"
    "\n"
    "  --version  print the version and exit\n"
    "  --help     print this help and exit\n"
    "\n"
    "Environment:\n"
    "  QUORIN_REGISTRY  the default registry's folder (an empty Server field), instead of\n"
    "                   Quorin/registry in the user's data folder\n"
    "  QUORIN_CLOCK     a fixed date, \"YYYY-MM-DD[ HH:MM:SS]\", for everything the program\n"
    "                   and its embedded engine take as today and now\n"
    "\n"
    "See quorin(1).\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before any window system is needed.
    const std::string_view option = argc == 2 ? argv[1] : "";
    if (option == "--version") {
        std::cout << "quorin " << QUORIN_VERSION_TEXT << "\n";
        return 0;
    }
    if (option == "--help" || option == "-h") {
        std::cout << kHelp;
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
