#include "resources/ToolbarLayout.h"

#include "resources/Resource.h"

namespace res {
namespace {
constexpr unsigned kButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
    ID_FILE_PRINT, 0,
    ID_APP_ABOUT, 0,
    ID_PAGE_PREV, ID_PAGE_HOME, ID_PAGE_NEXT, 0,
    32795, 32796, 32797, 32798, 32799, 32800, 32801, 32802, 32803, 32804, 0,
    ID_SYMBOL_ERASER, ID_AUD_EDIT,
};
} // namespace

std::span<const unsigned> MainToolbar()
{
    return kButtons;
}

} // namespace res
