#include "app/LockKeyPanes.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#if defined(QUORIN_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
// Xlib's macros would rename Qt's event types and more.
#undef Bool
#undef FocusIn
#undef FocusOut
#undef KeyPress
#undef KeyRelease
#undef None
#undef Status
#undef True
#undef False
#endif

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

constexpr int kPollMilliseconds = 1000;

#if defined(QUORIN_HAVE_X11)
// The state of a named keyboard indicator. Unknown when the keymap has no such indicator
// or nothing can drive it: the usual keymaps tie "Scroll Lock" to a virtual modifier that
// no key sets (its mask resolves to nothing), so its state says nothing about the key.
std::optional<bool> NamedIndicator(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, /*only_if_exists=*/1);
    if (atom == 0)
        return std::nullopt;
    int index = 0;
    int on = 0;
    int real = 0;
    XkbIndicatorMapRec map{};
    if (!XkbGetNamedIndicator(display, atom, &index, &on, &map, &real))
        return std::nullopt;
    const bool byModifiers = map.which_mods != 0 && map.mods.mask != 0;
    if (!byModifiers && map.which_groups == 0 && map.ctrls == 0)
        return std::nullopt;
    return on != 0;
}

CLockKeyPanes::LockState X11State()
{
    auto x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return {};
    return {NamedIndicator(display, "Caps Lock"), NamedIndicator(display, "Num Lock"),
            NamedIndicator(display, "Scroll Lock")};
}
#endif

#if defined(Q_OS_WIN)
CLockKeyPanes::LockState WindowsState()
{
    auto toggled = [](int key) { return (GetKeyState(key) & 1) != 0; };
    return {toggled(VK_CAPITAL), toggled(VK_NUMLOCK), toggled(VK_SCROLL)};
}
#endif

} // namespace

CLockKeyPanes::Probe CLockKeyPanes::PlatformProbe()
{
#if defined(QUORIN_HAVE_X11)
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return X11State;
#endif
#if defined(Q_OS_WIN)
    return WindowsState;
#endif
    return [] { return LockState{}; };
}

CLockKeyPanes::CLockKeyPanes(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent, Probe probe)
    : QObject(parent), m_caps(caps), m_num(num), m_scroll(scroll), m_probe(std::move(probe)),
      m_poll(new QTimer(this))
{
    Refresh();
    qApp->installEventFilter(this);
    // A lock changed while another program had the keyboard shows within a second; the
    // timer runs only while this program is active.
    m_poll->setInterval(kPollMilliseconds);
    connect(m_poll, &QTimer::timeout, this, &CLockKeyPanes::Refresh);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        Refresh();
        if (state == Qt::ApplicationActive)
            m_poll->start();
        else
            m_poll->stop();
    });
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        m_poll->start();
}

void CLockKeyPanes::Refresh()
{
    m_refreshQueued = false;
    Show(m_probe ? m_probe() : LockState{});
}

void CLockKeyPanes::SetProbe(Probe probe)
{
    m_probe = std::move(probe);
    Refresh();
}

void CLockKeyPanes::Show(const LockState& state)
{
    auto show = [](QLabel* pane, const std::optional<bool>& on, int textId) {
        const QString text = on.value_or(false) ? res::StringResource(textId) : QString();
        if (pane->text() != text)
            pane->setText(text);
    };
    show(m_caps, state.caps, res::ID_INDICATOR_CAPS);
    show(m_num, state.num, res::ID_INDICATOR_NUM);
    show(m_scroll, state.scroll, res::ID_INDICATOR_SCRL);
}

bool CLockKeyPanes::eventFilter(QObject* watched, QEvent* event)
{
    // Every key event reaches several objects on its way up; one refresh is enough, read
    // once the event has been handled.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && !m_refreshQueued) {
        m_refreshQueued = true;
        QTimer::singleShot(0, this, &CLockKeyPanes::Refresh);
    }
    return QObject::eventFilter(watched, event);
}
