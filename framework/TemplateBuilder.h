#pragma once
// Builds a dialog template into child widgets of a parent: each control at its
// dialog-unit rectangle converted with the dialog font's metrics, carrying its id, named
// for assistive technology by the label in front of it or the template's name column.

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"

#include <QFont>
#include <QSize>

class QWidget;

namespace framework {

class TemplateBuilder {
public:
    // The font the template's dialog units are measured in (the template's point size
    // applied to the application font).
    static QFont DialogFont(const DialogTemplate& dialogTemplate);

    explicit TemplateBuilder(const QFont& font);

    // Creates the controls in template order (which is also the tab order), gives them
    // the names a screen reader says (TemplateAccessibility.h) and returns the dialog's
    // client size in pixels.
    QSize Build(const DialogTemplate& dialogTemplate, QWidget* parent) const;

    QWidget* BuildControl(const ControlTemplate& control, QWidget* parent) const;

    const DialogUnits& Units() const { return m_units; }

private:
    QFont m_font;
    DialogUnits m_units;
};

} // namespace framework
