#include "resources/MenuLayout.h"

#include "resources/Resource.h"

namespace res {
namespace {

constexpr MenuEntry kSeparator{0};

constexpr MenuEntry kFile[] = {
    {ID_FILE_NEW}, {ID_FILE_SAVE}, kSeparator, {ID_FILE_PRINT}, {ID_FILE_PRINT_PREVIEW},
    {ID_FILE_PRINT_SETUP}, kSeparator, {ID_FILE_MRU_FILE1}, kSeparator, {ID_APP_EXIT},
};
constexpr MenuEntry kTools[] = {
    {ID_TOOLS_USERS}, {ID_TOOLS_CHANGE_PASSWORD}, {ID_TOOLS_UPDATE}, {ID_TOOLS_RECRUITMENT},
    {ID_TOOLS_ADMIN_IMPORT}, {ID_TOOLS_CID_IMPORT}, {ID_TOOLS_UPDATE_QUORIN}, kSeparator,
    {ID_TOOLS_BACKUP_REGISTRY},
};
constexpr MenuEntry kReports[] = {
    {ID_REPORTS_CONSENT}, {ID_REPORTS_CONTACT}, {ID_REPORTS_DATASETS}, {ID_REPORTS_DEMOGRAPHICS},
    {ID_REPORTS_FEEDBACK}, {ID_REPORTS_MONTHLY}, {ID_REPORTS_NUMBERS}, {ID_REPORTS_PARTICIPATION},
    {ID_REPORTS_OLD_DATASETS}, {ID_REPORTS_LETTERS},
};
constexpr MenuEntry kSymbol[] = {
    {32795}, {32796}, {32797}, {32798}, {32799}, {32800}, {32801}, {32802}, {32803}, {32804},
    kSeparator, {ID_SYMBOL_ERASER},
};
constexpr MenuEntry kView[] = {
    {ID_VIEW_TOOLBAR}, {ID_VIEW_STATUS_BAR}, {ID_PAGE_PREV}, {ID_PAGE_HOME}, {ID_PAGE_NEXT}, kSeparator,
    {ID_VIEW_CHANGE_HISTORY},
};
constexpr MenuEntry kHelp[] = {
    {ID_APP_ABOUT},
};

constexpr MenuPopup kMenu[] = {
    {"&File", kFile}, {"&Tools", kTools}, {"Reports", kReports},
    {"&Symbol", kSymbol}, {"&View", kView}, {"&Help", kHelp},
};

} // namespace

std::span<const MenuPopup> MainMenu()
{
    return kMenu;
}

} // namespace res
