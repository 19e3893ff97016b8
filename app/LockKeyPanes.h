#pragma once
// The Caps Lock, Num Lock and Scroll Lock panes of the status bar: each shows its text
// while its lock is on and stays blank otherwise.
//
// A key event carries the modifier state from before the key, so a pane that followed
// the event would lag one key behind the lock it shows. The panes ask the platform for
// the state itself, right after every key event and once a second while the program is
// active (a lock may change while another program has the keyboard). Where the platform
// cannot tell a lock's state, its pane stays blank rather than guess:
//   X11: all three, from the keyboard's named indicators ("Caps Lock", "Num Lock",
//        "Scroll Lock"), each one only when the server's keymap drives that indicator;
//   Windows: all three, from the keyboard state;
//   macOS, Wayland, offscreen: none can be asked, so all three stay blank.

#include <QObject>

#include <functional>
#include <optional>

class QLabel;
class QTimer;

class CLockKeyPanes : public QObject {
    Q_OBJECT
public:
    // Each lock: on, off, or unknown (the platform cannot tell).
    struct LockState {
        std::optional<bool> caps;
        std::optional<bool> num;
        std::optional<bool> scroll;
    };
    using Probe = std::function<LockState()>;

    // The probe of the platform the program runs on (see above).
    static Probe PlatformProbe();

    CLockKeyPanes(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent = nullptr,
                  Probe probe = PlatformProbe());

    // Asks the probe and shows what it says.
    void Refresh();
    // Another probe (a test's keyboard where the platform has none); refreshes at once.
    void SetProbe(Probe probe);
    void Show(const LockState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
    Probe m_probe;
    QTimer* m_poll;
    bool m_refreshQueued = false;
};
