#include "resources/CommandTable.h"

#include "resources/Resource.h"

#include <algorithm>

namespace res {
namespace {

// Menu texts as the menus show them; shortcuts as Qt reads them.
constexpr CommandInfo kCommands[] = {
    {ID_FILE_NEW, "&New\tCtrl+N", "Ctrl+N", "Create a new document", "New"},
    {ID_FILE_OPEN, "", "Ctrl+O", "Open an existing document", "Open"},
    {ID_FILE_SAVE, "&Save\tCtrl+S", "Ctrl+S", "Save the active document", "Save"},
    {ID_FILE_PRINT, "&Print...\tCtrl+P", "Ctrl+P", "Print the active document", "Print"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "", "Display full pages", "Print Preview"},
    {ID_FILE_PRINT_SETUP, "P&rint Setup...", "", "Change the printer and printing options", "Print Setup"},
    {ID_FILE_MRU_FILE1, "Recent File", "", "Open this document", "Recent File"},
    {ID_APP_EXIT, "E&xit", "", "Quit the application; prompts to save documents", "Exit"},
    {ID_EDIT_CUT, "", "Ctrl+X; Shift+Del", "Cut the selection and put it on the Clipboard", "Cut"},
    {ID_EDIT_COPY, "", "Ctrl+C; Ctrl+Ins", "Copy the selection and put it on the Clipboard", "Copy"},
    {ID_EDIT_PASTE, "", "Ctrl+V; Shift+Ins", "Insert Clipboard contents", "Paste"},
    {ID_EDIT_UNDO, "", "Ctrl+Z; Alt+Backspace", "Undo the last action", "Undo"},
    {ID_NEXT_PANE, "", "F6", "Switch to the next window pane", "Next Pane"},
    {ID_PREV_PANE, "", "Shift+F6", "Switch back to the previous window pane", "Previous Pane"},
    {ID_TOOLS_USERS, "Users", "", "Manage the users of the registry", "Users"},
    {ID_TOOLS_CHANGE_PASSWORD, "Change Password", "", "Change your password", "Change Password"},
    {ID_TOOLS_UPDATE, "Update", "", "Update Subject Records from Audiogram Manager.", "Update"},
    {ID_TOOLS_RECRUITMENT, "Recruitment", "", "Edit Recruitment Methods", "Recruitment"},
    {ID_TOOLS_ADMIN_IMPORT, "Admin Import", "", "Import from the Medical Manager", "Admin Import"},
    {ID_TOOLS_CID_IMPORT, "CID Import", "", "Import from CID Database", "CID Import"},
    {ID_TOOLS_UPDATE_QUORIN, "Update Quorin", "", "Update Quorin from the CID database", "Update Quorin"},
    {ID_TOOLS_BACKUP_REGISTRY, "&Back Up Registry...", "",
     "Back up the registry to one file (administrators). A SQL Server registry is backed up with SQL Server's "
     "own backup (see database/README.md)",
     "Back Up Registry"},
    {ID_REPORTS_CONSENT, "Consent", "", "Consent renewal report", "Consent"},
    {ID_REPORTS_CONTACT, "Contact", "", "Contact report", "Contact"},
    {ID_REPORTS_DATASETS, "Datasets", "", "Datasets per IRB", "Datasets"},
    {ID_REPORTS_DEMOGRAPHICS, "Demographics", "", "Demographics report", "Demographics"},
    {ID_REPORTS_FEEDBACK, "Feedback", "", "Feedback report", "Feedback"},
    {ID_REPORTS_MONTHLY, "Monthly Numbers", "", "Subjects added per month", "Monthly Numbers"},
    {ID_REPORTS_NUMBERS, "Numbers", "", "Database numbers", "Numbers"},
    {ID_REPORTS_PARTICIPATION, "Participation", "", "Participation report", "Participation"},
    {ID_REPORTS_OLD_DATASETS, "Old Datasets", "", "Closed datasets", "Old Datasets"},
    {ID_REPORTS_LETTERS, "Letters", "", "Letters report", "Letters"},
    {32795, "AC (TDH-49) Right Ear\tAlt 1", "Alt+1", "AC (TDH-49) Right Ear", "AC (TDH-49) Right Ear"},
    {32796, "AC (ER-3A) Right Ear\tAlt 2", "Alt+2", "AC (ER-3A) Right Ear", "AC (ER-3A) Right Ear"},
    {32797, "AC (TDH-49) Left Ear\tAlt 3", "Alt+3", "AC (TDH-49) Left Ear", "AC (TDH-49) Left Ear"},
    {32798, "AC (ER-3A) Left Ear\tAlt 4", "Alt+4", "AC (ER-3A) Left Ear", "AC (ER-3A) Left Ear"},
    {32799, "BC (masked) Right Ear\tAlt 5", "Alt+5", "BC (masked) Right Ear", "BC (masked) Right Ear"},
    {32800, "BC (masked) Left Ear\tAlt 6", "Alt+6", "BC (masked) Left Ear", "BC (masked) Left Ear"},
    {32801, "Unmasked BC\tAlt 7", "Alt+7", "Unmasked BC", "Unmasked BC"},
    {32802, "Single Response\tAlt 8", "Alt+8", "Single Response", "Single Response"},
    {32803, "Warble Tones\tAlt 9", "Alt+9", "Warble Tones", "Warble Tones"},
    {32804, "Vibrotactile\tAlt 0", "Alt+0", "Vibrotactile", "Vibrotactile"},
    {ID_SYMBOL_ERASER, "Eraser\tAlt -", "Alt+-", "Eraser", "Eraser"},
    {ID_AUD_EDIT, "", "", "Edit the current Audiogram", "Edit the current Audiogram"},
    {ID_PAGE_PREV, "Page Prev", "", "View Previous Test.", "View Previous Test."},
    {ID_PAGE_NEXT, "Page Next", "", "View Next Test", "View Next Test"},
    {ID_PAGE_HOME, "Home", "", "View the Current Test", "View the Current Test"},
    {ID_VIEW_TOOLBAR, "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "", "Show or hide the status bar", "Toggle StatusBar"},
    {ID_VIEW_CHANGE_HISTORY, "Change &History...", "",
     "Show who added, changed and removed what of the current subject, and when (administrators)", "Change History"},
    {ID_APP_ABOUT, "&About Quorin...", "", "Display program information, version number and copyright", "About"},
};

} // namespace

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

const CommandInfo* FindCommand(unsigned id)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandInfo& info) { return info.id == id; });
    return found == std::end(kCommands) ? nullptr : found;
}

} // namespace res
