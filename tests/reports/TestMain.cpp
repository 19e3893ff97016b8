// One QApplication for every report test, the program's resources and every subsystem's
// windows (so that the Reports commands open the real ones), and the program's settings
// in a folder of this run only: the user scope and the system scope each get their own,
// so a test can set either and never reads the machine's.
#include "app/Subsystems.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid())
        return 2;
    const QString user = settingsFolder.filePath(QStringLiteral("user"));
    const QString system = settingsFolder.filePath(QStringLiteral("system"));
    QDir().mkpath(user);
    QDir().mkpath(system);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(user));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, user);
        QSettings::setPath(format, QSettings::SystemScope, system);
    }
    QApplication app(argc, argv);
    res::InstallResources();
    quorin::RegisterSubsystems();
    return RUN_ALL_TESTS();
}
