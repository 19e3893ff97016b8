#pragma once
// A self-drawn tab window: a band of tabs (at the top or the bottom) and one page window
// per tab, of which only the active one is visible and enabled.

#include "framework/CreateContext.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;

class TTabWnd : public QWidget {
    Q_OBJECT
public:
    enum TabPosition { TabsOnTop = 0, TabsOnBottom = 1 };

    // Geometry of the band and the pages, in pixels.
    static constexpr int kBandTop = 6;       // tabs span y 6..26 (top)
    static constexpr int kBandBottom = 26;
    static constexpr int kMaxTextWidth = 200;
    static constexpr int kIconWidth = 18;
    static constexpr int kTabGap = 6;
    static constexpr int kFirstPageId = 13576;
    static constexpr int kFrameChildId = 9592;

    static TWindowClass WindowClass();

    explicit TTabWnd(QWidget* parent = nullptr);
    ~TTabWnd() override;

    // Lays the pages out for the given size; -1, -1 means the current size.
    virtual void ResizePages(int width = -1, int height = -1);
    // Creates a page from the window class and appends its tab; null when creation fails.
    virtual QWidget* AddView(const QString& title, const TWindowClass& windowClass, CCreateContext* context);
    virtual int HitTest(const QPoint& point) const;
    virtual int HitTest(int x, int y) const;
    virtual bool SetActiveTab(int index, bool activateView);
    // Asked before the active page changes; refusing keeps the old page.
    virtual bool CanChangeTab(QWidget* oldPage, QWidget* newPage);
    // Told after the active page changed.
    virtual void OnTabChanged(QWidget* oldPage, QWidget* newPage);

    // Appends an existing widget as a page (reparented to this window).
    QWidget* AddPage(const QString& title, QWidget* page);

    int GetActiveTab() const { return m_activeTab; }
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    int GetTabIndex(const QWidget* page) const;
    QWidget* GetTabWnd(int index) const;
    void SetTabPos(int position);
    int GetTabPos() const { return m_tabPos; }

    void SetTabIcon(int index, const QIcon& icon);
    QString GetTabTitle(int index) const;
    void SetTabVisible(int index, bool visible);
    void SetTabEnabled(int index, bool enabled);
    void SetPageEnabled(int index, bool enabled);

    // The tab's left and right x from the last layout (hit testing uses them).
    int TabLeft(int index) const;
    int TabRight(int index) const;
    // The tab's width as painted: caption width plus 4, at most 200, plus 18 with icon.
    int TabWidth(int index) const;
    QFont TabFont() const { return m_tabFont; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TabItem {
        QPointer<QWidget> page;
        QLabel* caption = nullptr;
        bool pageEnabled = true;
        bool tabVisible = true;
        bool tabEnabled = true;
        int left = 0;
        int right = 0;
        QIcon icon;
        QPointer<QWidget> lastFocus; // the control that had the focus when the page was left
    };

    void LayoutTabs();
    void PaintPageFrame(class QPainter& painter) const;
    void PaintTab(class QPainter& painter, const TabItem& tab, bool active) const;
    int BandY(int y) const;
    QRect BandRect(int x, int y, int width, int height) const;
    void ActivateView(QWidget* page);
    void FocusPage(TabItem& tab);
    bool ParentIsFrame() const;
    // Inside another tab window (the Audiogram page's own tabs).
    bool IsNested() const;
    // Activates the next (1) or previous (-1) tab that can be shown, wrapping round.
    bool StepTab(int step);

    std::vector<std::unique_ptr<TabItem>> m_tabs;
    int m_activeTab = -1;
    bool m_resizing = false;
    int m_tabPos = TabsOnBottom;
    QFont m_tabFont;
};
