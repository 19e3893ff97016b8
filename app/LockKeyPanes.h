#pragma once
// The Caps Lock, Num Lock and Scroll Lock panes of the status bar: each shows its text
// while its lock is on and stays blank otherwise. Qt tells the lock states only through
// the native modifiers of key events on X11, so the panes follow the keys typed there;
// where the state cannot be known they stay blank rather than claim a lock is on.

#include <QObject>

class QLabel;

class CLockKeyPanes : public QObject {
    Q_OBJECT
public:
    struct LockState {
        bool caps = false;
        bool num = false;
    };

    CLockKeyPanes(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent = nullptr);

    // The X11 modifier mask: Lock is Caps Lock, Mod2 is Num Lock.
    static LockState FromX11Modifiers(quint32 nativeModifiers);

    void Show(const LockState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
    bool m_x11;
};
