// The main() of the widget test binaries (quorin_test ... WIDGETS): a QApplication on the
// offscreen platform, the program's resources and every subsystem's windows, as the
// program registers them. Settings go to a private folder, so no test reads or writes
// the user's or the site's.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/Subsystems.h"
#include "resources/Resources.h"

#include <QApplication>

namespace {

// User and system settings in two fresh folders, for every settings format.
bool UsePrivateSettings(const QTemporaryDir& folder)
{
    if (!folder.isValid())
        return false;
    const QString user = folder.filePath(QStringLiteral("user"));
    const QString system = folder.filePath(QStringLiteral("system"));
    QDir().mkpath(user);
    QDir().mkpath(system);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(user));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, user);
        QSettings::setPath(format, QSettings::SystemScope, system);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Widget tests never need a display, also when run by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsFolder;
    if (!UsePrivateSettings(settingsFolder))
        return 2;
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterSubsystems();
    // After the registration: table-driven tests take their rows from it.
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
