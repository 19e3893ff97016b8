#pragma once
// A dialog or form laid out as data: its controls with ids, kinds, labels, positions and
// sizes in dialog units, styles and list items. TemplateBuilder turns one into widgets.

#include <QString>
#include <QStringList>

#include <vector>

namespace framework {

enum class ControlKind {
    Static,      // text label
    Edit,        // single-line edit
    MultiEdit,   // multi-line edit
    PushButton,
    DefPushButton,
    CheckBox,
    Radio,
    GroupBox,
    ComboDropDown, // editable combo
    ComboDropList, // drop-down list
    ListBox,
    ReportList,  // list view in report mode
    Icon,        // picture of an icon resource (text holds the resource id)
    Bitmap,      // picture of a bitmap resource (text holds the resource id)
    Frame        // etched or sunken frame
};

// Style bits; several kinds ignore some of them.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StylePassword = 1u << 0,
    StyleUpperCase = 1u << 1,
    StyleNumber = 1u << 2,
    StyleReadOnly = 1u << 3,
    StyleAutoHScroll = 1u << 4,
    StyleSorted = 1u << 5,
    StyleGroup = 1u << 6,    // starts a group (radio groups end at the next one)
    StyleDisabled = 1u << 7,
    StyleHidden = 1u << 8,
    StyleCenter = 1u << 9,
    StyleRight = 1u << 10,
    StyleNoTabStop = 1u << 11,
    StyleVScroll = 1u << 12,
    StyleWantReturn = 1u << 13
};

struct ControlTemplate {
    int id = -1;          // -1 for statics without an id
    ControlKind kind = ControlKind::Static;
    QString text;
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    unsigned style = StyleNone;
    QStringList items;    // list and combo contents in resource order
    // The name a screen reader says for the control where the label in front of it gives
    // none or is no name ("Left", "yrs", a row label shared by two ears), and for
    // symbol-only buttons. Empty: the label's text names it.
    QString name = {};
    // The most characters a user may type (0: no limit): the smaller of the length of the
    // registry column the field is saved into and the program's own limit, so that no
    // save refuses what was typed. Set from the field-length table of resources/.
    int maxLength = 0;
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    int cx = 0, cy = 0;   // dialog units
    int fontPointSize = 8;
    std::vector<ControlTemplate> controls;
};

} // namespace framework
