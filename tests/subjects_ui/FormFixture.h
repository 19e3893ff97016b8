#pragma once
// A Subject or Other tab on the offscreen screen, attached to a connected document of
// a fresh registry, and the user's hands: typing, tabbing, choosing and clicking.

#include "app/DocumentFixture.h"
#include "framework/CreateContext.h"

#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace quorin::test {

class FormTest : public DocumentTest {
public:
    // Lets queued work (deferred checks, dialogs) run.
    static void Settle();

protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the widget as an active top-level window.
    static void ShowActive(QWidget* widget);

    // Clicks into an edit, replaces its text by typing, and leaves it with Tab.
    static void TypeInto(QLineEdit* edit, const QString& text);
    // Focuses a combo and types into its edit part.
    static void TypeInto(QComboBox* combo, const QString& text);
    // Opens a combo's list and clicks the item with the index.
    static void ChooseFromList(QComboBox* combo, int index);
    static void Click(QWidget* button);

    // The next modal dialog, once it is open, goes to the handler (which must close it).
    static void OnNextModal(std::function<void(QWidget*)> handler);

    // Adds a subject straight into the registry; returns its id.
    int AddSubject(const QString& last, const QString& first, int unit, const QString& birth);

    CCreateContext context;
};

} // namespace quorin::test
