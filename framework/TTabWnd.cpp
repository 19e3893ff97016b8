#include "framework/TTabWnd.h"

#include "framework/ControlId.h"
#include "framework/FocusChain.h"
#include "framework/TFrameWnd.h"
#include "framework/TVisualFormView.h"

#include <QApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kBandHeightTop = 30;    // the band erased above the pages
constexpr int kBandHeightBottom = 33; // and below them
constexpr int kPageTop = 30;          // y of the page frame (top tabs)

// A page whose focused field fails its check keeps its tab; a page that is itself a tab
// window asks its own page in front.
bool PageCanBeLeft(QWidget* page)
{
    if (auto form = qobject_cast<TVisualFormView*>(page))
        return form->CanLeavePage();
    if (auto tabs = qobject_cast<TTabWnd*>(page))
        return PageCanBeLeft(tabs->GetTabWnd(tabs->GetActiveTab()));
    return true;
}
} // namespace

TWindowClass TTabWnd::WindowClass()
{
    return TWindowClass{QStringLiteral("TTabWnd"), 4,
                        [](QWidget* parent, CCreateContext*) -> QWidget* { return new TTabWnd(parent); }};
}

TTabWnd::TTabWnd(QWidget* parent) : QWidget(parent)
{
    // The tabs use the status bar's font, as the band is a piece of window chrome.
    m_tabFont = QApplication::font("QStatusBar");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TTabWnd::~TTabWnd() = default;

bool TTabWnd::ParentIsFrame() const
{
    return qobject_cast<QMainWindow*>(parentWidget()) != nullptr;
}

void TTabWnd::ResizePages(int width, int height)
{
    if (m_resizing)
        return;
    m_resizing = true;
    if (width == -1 && height == -1) {
        width = this->width();
        height = this->height();
    }
    const QRect pageRect = m_tabPos == TabsOnTop ? QRect(1, 31, width - 2, height - 32)
                                                 : QRect(1, 0, width - 2, height - 30);
    for (const auto& tab : m_tabs) {
        if (tab->page)
            tab->page->setGeometry(pageRect);
    }
    LayoutTabs();
    m_resizing = false;
}

QWidget* TTabWnd::AddView(const QString& title, const TWindowClass& windowClass, CCreateContext* context)
{
    if (!windowClass.create)
        return nullptr;
    QWidget* page = windowClass.create(this, context);
    if (!page)
        return nullptr;
    return AddPage(title, page);
}

QWidget* TTabWnd::AddPage(const QString& title, QWidget* page)
{
    page->setParent(this);
    framework::SetControlId(page, kFirstPageId + GetTabCount());
    page->setGeometry(0, 32, width(), qMax(0, height() - 32));

    auto tab = std::make_unique<TabItem>();
    tab->page = page;
    tab->caption = new QLabel(title, this);
    tab->caption->setAlignment(Qt::AlignCenter);
    tab->caption->setFont(m_tabFont);
    tab->caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    tab->caption->show();
    const bool first = m_tabs.empty();
    m_tabs.push_back(std::move(tab));
    if (first) {
        page->setEnabled(true);
        page->show();
        m_activeTab = 0;
    } else {
        page->setEnabled(false);
        page->hide();
    }
    ResizePages();
    update();
    return page;
}

int TTabWnd::GetTabIndex(const QWidget* page) const
{
    for (int i = 0; i < GetTabCount(); ++i) {
        if (m_tabs[i]->page == page)
            return i;
    }
    return -1;
}

QWidget* TTabWnd::GetTabWnd(int index) const
{
    if (index < 0 || index >= GetTabCount())
        return nullptr;
    return m_tabs[index]->page.data();
}

void TTabWnd::SetTabPos(int position)
{
    m_tabPos = position == TabsOnTop ? TabsOnTop : TabsOnBottom;
    ResizePages();
    update();
}

void TTabWnd::SetTabIcon(int index, const QIcon& icon)
{
    if (index < 0 || index >= GetTabCount())
        return;
    m_tabs[index]->icon = icon;
    LayoutTabs();
    update();
}

QString TTabWnd::GetTabTitle(int index) const
{
    return (index >= 0 && index < GetTabCount()) ? m_tabs[index]->caption->text() : QString();
}

void TTabWnd::SetTabVisible(int index, bool visible)
{
    if (index < 0 || index >= GetTabCount())
        return;
    m_tabs[index]->tabVisible = visible;
    LayoutTabs();
    update();
}

void TTabWnd::SetTabEnabled(int index, bool enabled)
{
    if (index >= 0 && index < GetTabCount())
        m_tabs[index]->tabEnabled = enabled;
}

void TTabWnd::SetPageEnabled(int index, bool enabled)
{
    if (index >= 0 && index < GetTabCount())
        m_tabs[index]->pageEnabled = enabled;
}

int TTabWnd::TabLeft(int index) const
{
    return (index >= 0 && index < GetTabCount()) ? m_tabs[index]->left : 0;
}

int TTabWnd::TabRight(int index) const
{
    return (index >= 0 && index < GetTabCount()) ? m_tabs[index]->right : 0;
}

int TTabWnd::TabWidth(int index) const
{
    if (index < 0 || index >= GetTabCount())
        return 0;
    const TabItem& tab = *m_tabs[index];
    const int text = QFontMetrics(m_tabFont).horizontalAdvance(tab.caption->text()) + 4;
    return qMin(text, kMaxTextWidth) + (tab.icon.isNull() ? 0 : kIconWidth);
}

int TTabWnd::HitTest(const QPoint& point) const
{
    return HitTest(point.x(), point.y());
}

int TTabWnd::HitTest(int x, int y) const
{
    const int top = m_tabPos == TabsOnTop ? kBandTop : height() - kBandBottom;
    const int bottom = m_tabPos == TabsOnTop ? kBandBottom : height() - kBandTop;
    if (y < top || y > bottom)
        return -1;
    for (int i = 0; i < GetTabCount(); ++i) {
        const TabItem& tab = *m_tabs[i];
        if (tab.tabVisible && tab.tabEnabled && x >= tab.left && x <= tab.right)
            return i;
    }
    return -1;
}

bool TTabWnd::SetActiveTab(int index, bool activateView)
{
    if (index == -1 || index >= GetTabCount())
        return false;
    if (index == m_activeTab)
        return true;
    TabItem& next = *m_tabs[index];
    if (!next.tabVisible || !next.tabEnabled)
        return false;
    QWidget* oldPage = GetTabWnd(m_activeTab);
    QWidget* newPage = next.page.data();
    if (!PageCanBeLeft(oldPage) || !CanChangeTab(oldPage, newPage))
        return false;

    // Keep the focus from falling into a hidden page: if it was inside the old page it
    // moves to the new one, otherwise it stays where it is unless asked to activate.
    const bool focusWasInside = oldPage && oldPage->isAncestorOf(QApplication::focusWidget());
    if (focusWasInside)
        m_tabs[m_activeTab]->lastFocus = QApplication::focusWidget();
    if (oldPage) {
        oldPage->setEnabled(false);
        oldPage->hide();
    }
    if (newPage) {
        if (next.pageEnabled)
            newPage->setEnabled(true);
        newPage->show();
        if (activateView || focusWasInside)
            FocusPage(next);
    }
    m_activeTab = index;
    update(0, m_tabPos == TabsOnTop ? 0 : height() - kBandHeightBottom, width(), kBandHeightBottom);
    OnTabChanged(oldPage, newPage);
    if (activateView)
        ActivateView(newPage);
    return true;
}

// The user goes on typing where they left the page, or in its first control the first
// time; the page itself takes the focus only when it has no control that can.
void TTabWnd::FocusPage(TabItem& tab)
{
    QWidget* page = tab.page.data();
    QWidget* target = tab.lastFocus.data();
    if (!framework::IsTabStop(page, target))
        target = framework::FirstTabStop(page);
    (target ? target : page)->setFocus(Qt::OtherFocusReason);
}

bool TTabWnd::CanChangeTab(QWidget*, QWidget*)
{
    return true;
}

void TTabWnd::OnTabChanged(QWidget*, QWidget*)
{
}

void TTabWnd::ActivateView(QWidget* page)
{
    TFrameWnd* frame = nullptr;
    for (QWidget* w = parentWidget(); w && !frame; w = w->parentWidget())
        frame = qobject_cast<TFrameWnd*>(w);
    if (!frame)
        return;
    // A page that is itself a tab window hands on to its own active page.
    QWidget* view = page;
    while (auto nested = qobject_cast<TTabWnd*>(view))
        view = nested->GetTabWnd(nested->GetActiveTab());
    if (view)
        frame->SetActiveView(view);
}

void TTabWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ResizePages();
}

bool TTabWnd::IsNested() const
{
    for (QWidget* w = parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<TTabWnd*>(w))
            return true;
    }
    return false;
}

bool TTabWnd::StepTab(int step)
{
    // The next visible, enabled tab in that direction, round the end.
    const int count = GetTabCount();
    for (int n = 1; n < count; ++n) {
        const int index = ((m_activeTab + step * n) % count + count) % count;
        if (m_tabs[index]->tabVisible && m_tabs[index]->tabEnabled)
            return SetActiveTab(index, true);
    }
    return false;
}

void TTabWnd::keyPressEvent(QKeyEvent* event)
{
    // Keys the focused control leaves alone arrive here. Ctrl+Tab and Ctrl+Shift+Tab go
    // through the outermost tabs (the workspace's pages), Ctrl+PgDn and Ctrl+PgUp through
    // the tabs nearest to the focus.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool tabKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    int step = 0;
    if (tabKey && mods == Qt::ControlModifier)
        step = IsNested() ? 0 : (event->key() == Qt::Key_Tab ? 1 : -1);
    else if (tabKey && mods == (Qt::ControlModifier | Qt::ShiftModifier))
        step = IsNested() ? 0 : -1;
    else if (mods == Qt::ControlModifier && event->key() == Qt::Key_PageDown)
        step = 1;
    else if (mods == Qt::ControlModifier && event->key() == Qt::Key_PageUp)
        step = -1;
    if (step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    StepTab(step);
}

void TTabWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = HitTest(event->position().toPoint());
        if (index >= 0)
            SetActiveTab(index, true);
    }
    QWidget::mouseReleaseEvent(event);
}

int TTabWnd::BandY(int y) const
{
    // The bottom band is the top one mirrored at the lower edge.
    return m_tabPos == TabsOnTop ? y : height() - y;
}

QRect TTabWnd::BandRect(int x, int y, int width, int height) const
{
    if (m_tabPos == TabsOnTop)
        return QRect(x, y, width, height);
    return QRect(x, this->height() - y - height + 1, width, height);
}

void TTabWnd::LayoutTabs()
{
    int x = 0;
    for (int i = 0; i < GetTabCount(); ++i) {
        TabItem& tab = *m_tabs[i];
        if (!tab.tabVisible) {
            tab.left = tab.right = -1;
            tab.caption->hide();
            continue;
        }
        const int width = TabWidth(i);
        tab.left = x;
        tab.right = x + width;
        const int iconRoom = tab.icon.isNull() ? 0 : kIconWidth;
        tab.caption->setFont(m_tabFont);
        tab.caption->setGeometry(BandRect(x + 3 + iconRoom, 7, width - iconRoom, 20));
        tab.caption->show();
        tab.caption->raise();
        x += width + kTabGap;
    }
}

void TTabWnd::paintEvent(QPaintEvent*)
{
    // The tabs were laid out when their size, icons or visibility last changed. Moving or
    // raising the caption labels from here would schedule another paint, and the window
    // would repaint for ever.
    QPainter painter(this);
    const QPalette& pal = palette();
    const int w = width();
    const int h = height();
    // Erase: the band is the face colour.
    painter.fillRect(rect(), pal.color(QPalette::Button));
    if (m_tabPos == TabsOnTop)
        painter.fillRect(0, 0, w, kBandHeightTop, pal.color(QPalette::Button));
    else
        painter.fillRect(0, h - kBandHeightBottom, w, kBandHeightBottom, pal.color(QPalette::Button));
    PaintPageFrame(painter);
    for (int i = 0; i < GetTabCount(); ++i) {
        if (m_tabs[i]->tabVisible && i != m_activeTab)
            PaintTab(painter, *m_tabs[i], false);
    }
    if (m_activeTab >= 0 && m_tabs[m_activeTab]->tabVisible)
        PaintTab(painter, *m_tabs[m_activeTab], true);
}

void TTabWnd::PaintPageFrame(QPainter& painter) const
{
    const QPalette& pal = palette();
    const int w = width();
    const int h = height();
    // The page area: from y 30 down (top tabs) or down to 29 pixels above the edge.
    const int top = m_tabPos == TabsOnTop ? kPageTop : 0;
    const int bottom = m_tabPos == TabsOnTop ? h - 1 : h - kPageTop;
    auto line = [&](const QColor& color, int x1, int y1, int x2, int y2) {
        painter.setPen(color);
        painter.drawLine(x1, y1, x2, y2);
    };
    // Outer edge: shadow top-left, highlight bottom-right; inner: black and light.
    line(pal.color(QPalette::Dark), 0, top, w - 1, top);
    line(pal.color(QPalette::Dark), 0, top, 0, bottom);
    line(pal.color(QPalette::Light), 0, bottom, w - 1, bottom);
    line(pal.color(QPalette::Light), w - 1, top, w - 1, bottom);
    line(Qt::black, 1, top + 1, w - 2, top + 1);
    line(Qt::black, 1, top + 1, 1, bottom - 1);
    line(pal.color(QPalette::Midlight), 1, bottom - 1, w - 2, bottom - 1);
    line(pal.color(QPalette::Midlight), w - 2, top + 1, w - 2, bottom - 1);
    if (ParentIsFrame()) {
        // Etched edge where the workspace meets the frame's bars.
        const int y = m_tabPos == TabsOnTop ? 0 : h - 2;
        line(pal.color(QPalette::Dark), 0, y, w - 1, y);
        line(pal.color(QPalette::Light), 0, y + 1, w - 1, y + 1);
    }
}

void TTabWnd::PaintTab(QPainter& painter, const TabItem& tab, bool active) const
{
    const QPalette& pal = palette();
    const int x = tab.left;
    const int width = tab.right - tab.left;
    auto line = [&](const QColor& color, int x1, int y1, int x2, int y2) {
        painter.setPen(color);
        painter.drawLine(x1, BandY(y1), x2, BandY(y2));
    };
    const QColor face = pal.color(QPalette::Button);
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    if (active) {
        // Raised: the face once, then outline up, across and down; two-pixel highlight
        // left and top, shadow right; the base line under it is painted over so the tab
        // joins its page.
        painter.fillRect(BandRect(x + 3, 9, width, 21), face);
        line(Qt::black, x, 25, x, kBandTop);
        line(Qt::black, x, kBandTop, x + width + 5, kBandTop);
        line(Qt::black, x + width + 5, kBandTop, x + width + 5, kBandBottom);
        for (int d = 1; d <= 2; ++d) {
            line(light, x + d, kBandTop + 1, x + d, 29);
            line(light, x + 1, kBandTop + d, x + width + 4, kBandTop + d);
            line(shadow, x + width + 5 - d, kBandTop + 1, x + width + 5 - d, 29);
        }
        painter.fillRect(BandRect(x + 3, kPageTop, width, 2), face);
    } else {
        painter.fillRect(BandRect(x + 1, kBandTop + 1, width + 5, kBandBottom - kBandTop - 1), face);
        line(Qt::black, x, kBandTop, x + width + 6, kBandTop);
        line(Qt::black, x, kBandTop, x, kBandBottom);
        line(Qt::black, x + width + 6, kBandTop, x + width + 6, kBandBottom);
        line(Qt::black, x, kBandBottom, x + width + 6, kBandBottom);
        line(light, x + 1, kBandTop + 1, x + 1, kBandBottom - 1);
        line(light, x + 1, kBandTop + 1, x + width + 5, kBandTop + 1);
        line(shadow, x + width + 5, kBandTop + 1, x + width + 5, kBandBottom - 1);
    }
    if (!tab.icon.isNull()) {
        const QRect iconRect = BandRect(x + 4, 8, 16, 16);
        tab.icon.paint(&painter, iconRect);
    }
}
