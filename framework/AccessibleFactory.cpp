#include "framework/AccessibleFactory.h"

#include "framework/AccessibleCanvas.h"
#include "framework/AccessibleComboBox.h"
#include "framework/AccessibleTabBand.h"
#include "framework/AccessibleToolButton.h"
#include "framework/TTabWnd.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QToolBar>
#include <QToolButton>

namespace framework {
namespace {

// Asked once per class of the object's hierarchy, most derived first; answering for our
// own classes (and for the tool buttons of a toolbar) leaves every other widget to Qt.
QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("TTabWnd"))
        return new AccessibleTabWindow(static_cast<TTabWnd*>(widget));
    if (className == QLatin1String("QToolButton")) {
        auto button = static_cast<QToolButton*>(widget);
        if (button->defaultAction() && qobject_cast<QToolBar*>(button->parentWidget()))
            return new AccessibleToolButton(button);
        return nullptr;
    }
    if (className == QLatin1String("QComboBox"))
        return new AccessibleComboBox(static_cast<QComboBox*>(widget));
    if (IsAccessibleCanvas(widget) && className == QLatin1String(widget->metaObject()->className()))
        return new AccessibleCanvas(widget);
    return nullptr;
}

} // namespace

void InstallAccessibleFactories()
{
    // Qt asks the factory installed last first, and the widgets' own factory (installed
    // by the application after its start-up functions) knows the tool buttons too: ours
    // goes to the end again.
    QAccessible::removeFactory(Factory);
    QAccessible::installFactory(Factory);
}

} // namespace framework

namespace {
void InstallAtStart()
{
    framework::InstallAccessibleFactories();
    // Once the application has installed its own factory, before the first window shows.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { framework::InstallAccessibleFactories(); },
                              Qt::QueuedConnection);
}
} // namespace

// Also at application start, for windows that exist before the first form is built.
Q_COREAPP_STARTUP_FUNCTION(InstallAtStart)
