#pragma once
// One window of the workspace tree: its kind, id, caption, class, style flags and icon,
// and, once the framework has created it, the window itself.

#include "framework/CreateContext.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class TVisualFramework;

class TVisualNode {
public:
    enum Kind { KindTabWnd = 4, KindView = 5 };
    enum Style : unsigned char { TabsTop = 1, TabsBottom = 2, ActiveTab = 4 };

    // The kind comes from the window class: 4 for a tab window, 5 for a view.
    TVisualNode(unsigned id, const QString& title, const TWindowClass& windowClass,
                CCreateContext* context, unsigned char style = 0);

    unsigned m_nId;
    int m_nType;
    QString m_strTitle;
    TWindowClass m_windowClass;
    CCreateContext* m_pContext;
    unsigned char m_dwStyle;
    QIcon m_icon;
    QPointer<QWidget> m_pWnd;
    QWidget* m_pParentWnd = nullptr;
    TVisualNode* m_pParent = nullptr;
    TVisualFramework* m_pFramework = nullptr;
    std::vector<TVisualNode*> m_children; // owned by the framework

    // Loads a 16x16 icon; refused (false) when the node already has one.
    bool SetIcon(int resourceId);
    bool SetIcon(const QIcon& icon);

    QWidget* GetWnd() const { return m_pWnd.data(); }
    unsigned GetId() const { return m_nId; }
};
