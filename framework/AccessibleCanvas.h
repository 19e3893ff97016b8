#pragma once
// A view that draws its content itself (the audiogram chart) has no controls a screen
// reader could read. It tells the reader what it shows instead: a description of the
// whole ("Audiogram of 3/4/2024, 12 points, right and left ear") and, where it has a
// keyboard focus point, the item under it as a focused child of the view.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QRect>
#include <QString>

class QWidget;

namespace framework {

// Marks the view before its accessible interface is first asked for (in its
// constructor); role Chart, Canvas or Graphic.
void MakeAccessibleCanvas(QWidget* view, QAccessible::Role role = QAccessible::Canvas);
bool IsAccessibleCanvas(const QWidget* view);

void PublishCanvasDescription(QWidget* view, const QString& description);

// The item under the focus point, its rectangle in the view's coordinates; an empty
// name means there is none.
void PublishCanvasFocusItem(QWidget* view, const QString& name, const QRect& rect = QRect());
QString CanvasFocusItemName(const QWidget* view);

class AccessibleCanvas : public QAccessibleWidget {
public:
    explicit AccessibleCanvas(QWidget* view);
    ~AccessibleCanvas() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

    // The focus-point item, null while there is none.
    QAccessibleInterface* FocusItem() const;

private:
    mutable QAccessible::Id m_itemId = 0;
};

} // namespace framework
