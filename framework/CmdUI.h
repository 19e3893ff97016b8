#pragma once
// The state an update handler gives a command: enabled, checked, or checked as the one
// chosen of a radio set. Menus and toolbar buttons show what the handlers decided.

class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_nID(id) {}

    void Enable(bool on = true) { m_enabled = on; m_enableChanged = true; }
    void SetCheck(int check = 1) { m_checked = check; m_checkable = true; }
    void SetRadio(bool on = true) { m_checked = on ? 1 : 0; m_checkable = true; m_radio = true; }

    unsigned m_nID;

    bool IsEnabled() const { return m_enabled; }
    bool EnableChanged() const { return m_enableChanged; }
    int Checked() const { return m_checked; }
    bool IsCheckable() const { return m_checkable; }
    bool IsRadio() const { return m_radio; }

private:
    bool m_enabled = true;
    bool m_enableChanged = false;
    int m_checked = 0;
    bool m_checkable = false;
    bool m_radio = false;
};
