#include "app/LockKeyPanes.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11Mod2Mask = 0x10;
} // namespace

CLockKeyPanes::CLockKeyPanes(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent)
    : QObject(parent), m_caps(caps), m_num(num), m_scroll(scroll),
      m_x11(QGuiApplication::platformName() == QLatin1String("xcb"))
{
    Show(LockState{});
    m_scroll->clear(); // Scroll Lock reaches no application on these platforms
    if (m_x11)
        qApp->installEventFilter(this);
}

CLockKeyPanes::LockState CLockKeyPanes::FromX11Modifiers(quint32 nativeModifiers)
{
    return LockState{(nativeModifiers & kX11LockMask) != 0, (nativeModifiers & kX11Mod2Mask) != 0};
}

void CLockKeyPanes::Show(const LockState& state)
{
    m_caps->setText(state.caps ? res::StringResource(res::ID_INDICATOR_CAPS) : QString());
    m_num->setText(state.num ? res::StringResource(res::ID_INDICATOR_NUM) : QString());
}

bool CLockKeyPanes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto key = static_cast<QKeyEvent*>(event);
        if (key->nativeModifiers() != 0 || key->nativeScanCode() != 0)
            Show(FromX11Modifiers(key->nativeModifiers()));
    }
    return QObject::eventFilter(watched, event);
}
