# The Users, User and Change Password dialogs, their templates and their registration.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/AdminDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CChangePasswordDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUserDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUsersDlg.cpp
  ${PROJECT_SOURCE_DIR}/resources/AdminTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CChangePasswordDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CUserDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CUsersDlg.h
)
