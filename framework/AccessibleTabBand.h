#pragma once
// TTabWnd as a screen reader sees it, shaped like a tab widget: first the band, a
// page-tab list whose tabs carry the captions with the active one selected, then the
// pages. The window draws its tabs itself, so the band and the tabs are interfaces
// without widgets of their own; pressing a tab switches to its page.

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

class TTabWnd;

namespace framework {

class AccessibleTabBand;
class AccessibleTab;

class AccessibleTabWindow : public QAccessibleWidget {
public:
    explicit AccessibleTabWindow(TTabWnd* tabWnd);
    ~AccessibleTabWindow() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    TTabWnd* tabWnd() const;
    AccessibleTabBand* band() const;
    // Null for an index without a tab.
    AccessibleTab* tab(int index) const;

private:
    std::vector<QWidget*> Pages() const;

    mutable QAccessible::Id m_bandId = 0;
    mutable std::vector<QAccessible::Id> m_tabIds;
};

class AccessibleTabBand : public QAccessibleInterface {
public:
    explicit AccessibleTabBand(TTabWnd* tabWnd);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTabList; }
    QAccessible::State state() const override;

private:
    AccessibleTabWindow* Owner() const;
    QPointer<TTabWnd> m_tabWnd;
};

class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleTab(TTabWnd* tabWnd, int index);

    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Index() const { return m_index; }

private:
    QPointer<TTabWnd> m_tabWnd;
    int m_index;
};

} // namespace framework
