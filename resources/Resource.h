#pragma once
// Resource and command ids of the program.

namespace res {

// Shared by the menu, toolbar, accelerators, icon and document string.
inline constexpr int IDR_MAINFRAME = 128;

// Dialogs and their controls.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_LOGIN = 173;
inline constexpr int IDC_USERNAME = 1096;
inline constexpr int IDC_PASSWORD = 1097;
inline constexpr int IDC_SERVER = 1173;
inline constexpr int IDC_ABOUT_COMPONENT1 = 1200; // the three component lines of the About box
inline constexpr int IDC_ABOUT_COMPONENT2 = 1201;
inline constexpr int IDC_ABOUT_COMPONENT3 = 1202;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Bitmaps and icons.
inline constexpr int IDB_LOGO = 157;
inline constexpr int IDI_SUBJECT = 129;
inline constexpr int IDI_AUDIOGRAM = 133;
inline constexpr int IDI_PAGE = 134;
inline constexpr int IDI_CIDATA = 135;

// Strings.
inline constexpr int IDS_DOCUMENT = 128;
inline constexpr int IDS_APP_TITLE = 57344;

// Commands.
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;
inline constexpr unsigned ID_VIEW_TOOLBAR = 59392;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;

inline constexpr unsigned ID_SYMBOL_FIRST = 32795; // the ten audiogram symbols 32795..32804
inline constexpr unsigned ID_SYMBOL_LAST = 32804;
inline constexpr unsigned ID_SYMBOL_ERASER = 32805;
inline constexpr unsigned ID_AUD_EDIT = 32806;
inline constexpr unsigned ID_PAGE_PREV = 32807;
inline constexpr unsigned ID_PAGE_NEXT = 32808;
inline constexpr unsigned ID_PAGE_HOME = 32812;
inline constexpr unsigned ID_TOOLS_UPDATE = 32813;
inline constexpr unsigned ID_TOOLS_RECRUITMENT = 32814;
inline constexpr unsigned ID_TOOLS_ADMIN_IMPORT = 32815;
inline constexpr unsigned ID_TOOLS_USERS = 32816;
inline constexpr unsigned ID_TOOLS_CHANGE_PASSWORD = 32817;
inline constexpr unsigned ID_REPORTS_NUMBERS = 32818;
inline constexpr unsigned ID_REPORTS_MONTHLY = 32819;
inline constexpr unsigned ID_REPORTS_PARTICIPATION = 32820;
inline constexpr unsigned ID_REPORTS_FEEDBACK = 32821;
inline constexpr unsigned ID_REPORTS_CONSENT = 32822;
inline constexpr unsigned ID_REPORTS_CONTACT = 32823;
inline constexpr unsigned ID_REPORTS_DATASETS = 32824;
inline constexpr unsigned ID_REPORTS_DEMOGRAPHICS = 32825;
inline constexpr unsigned ID_REPORTS_OLD_DATASETS = 32826;
inline constexpr unsigned ID_TOOLS_CID_IMPORT = 32827;
inline constexpr unsigned ID_REPORTS_LETTERS = 32828;
inline constexpr unsigned ID_TOOLS_UPDATE_QUORIN = 32829;
inline constexpr unsigned ID_TOOLS_BACKUP_REGISTRY = 32830;
inline constexpr unsigned ID_VIEW_CHANGE_HISTORY = 32831;

// Status-bar panes.
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;

} // namespace res
