# Staff users, roles and passwords: the account statements, free of widgets.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/ChangePassword.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LoadUsers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UserAccounts.cpp
)
