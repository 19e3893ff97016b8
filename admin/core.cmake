# Staff users, roles and passwords: the account statements, free of widgets.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/ChangePassword.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LoadUsers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UserAccounts.cpp
)
quorin_sources(quorin_core ${CMAKE_CURRENT_LIST_DIR}/TemporaryPassword.cpp)
# The temporary passwords come from libsodium's secure random source.
target_link_libraries(quorin_core PRIVATE PkgConfig::SODIUM)
