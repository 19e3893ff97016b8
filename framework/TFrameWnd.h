#pragma once
// The frame window: owns the command chain (active view, document, frame, application),
// keeps track of the active view, and keeps its menu items and toolbar buttons in the
// state the update handlers give them.

#include "framework/CmdTarget.h"
#include "framework/CommandRouter.h"

#include <QMainWindow>
#include <QPointer>

#include <map>

class QAction;
class QTimer;

class TFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit TFrameWnd(QWidget* parent = nullptr);
    ~TFrameWnd() override;

    // The view commands go to first. Setting it does not move the focus.
    void SetActiveView(QWidget* view);
    QWidget* GetActiveView() const;

    void SetDocumentTarget(CCmdTarget* target) { m_documentTarget = target; }
    void SetApplicationTarget(CCmdTarget* target) { m_applicationTarget = target; }

    // The action that triggers the command; several actions may share one id.
    void RegisterCommandAction(unsigned id, QAction* action);
    QAction* CommandAction(unsigned id) const;

    bool ExecuteCommand(unsigned id);
    CCmdUI QueryCommand(unsigned id) const { return m_router.Update(id); }

    // Applies every update handler to the registered actions (done on a short timer
    // while the frame is shown, and before a menu opens).
    void UpdateCommandUI();

    // Marks a widget as a view, so focus inside it makes it the active view.
    static void MarkAsView(QWidget* view);
    static bool IsView(const QWidget* widget);

signals:
    void activeViewChanged(QWidget* view);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnFocusChanged(QWidget* now);

    CCommandRouter m_router;
    QPointer<QWidget> m_activeView;
    CCmdTarget* m_documentTarget = nullptr;
    CCmdTarget* m_applicationTarget = nullptr;
    std::multimap<unsigned, QPointer<QAction>> m_actions;
    QTimer* m_updateTimer;
    QMetaObject::Connection m_focusConnection;
};
