# The application, its dialogs, the main frame and the Qt side of the user interface,
# and the quorin executable.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CAboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDocumentCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CLoginDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CQuorinApp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComponentVersions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogRegistry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentCommandRegistry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirstRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LockKeyPanes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtUserInterface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Subsystems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkspacePages.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CAboutDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CLoginDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.h
  ${CMAKE_CURRENT_LIST_DIR}/LockKeyPanes.h
)
# The About box reads the versions of the libraries the data access really uses; the
# first start creates a registry from the embedded scripts.
target_link_libraries(quorin_ui PUBLIC quorin_schema PRIVATE PkgConfig::ODBC SQLite::SQLite3)
target_compile_definitions(quorin_ui PRIVATE QUORIN_VERSION_TEXT="${PROJECT_VERSION}")
# The lock-key panes ask an X server for its keyboard indicators (Xkb is part of libX11).
# The library target is made in another folder, so the plain paths are used rather than
# find_package's folder-local imported target.
find_package(X11 QUIET)
if(X11_FOUND AND X11_X11_LIB AND X11_Xkblib_INCLUDE_PATH)
  target_include_directories(quorin_ui PRIVATE ${X11_X11_INCLUDE_PATH})
  target_link_libraries(quorin_ui PRIVATE ${X11_X11_LIB})
  target_compile_definitions(quorin_ui PRIVATE QUORIN_HAVE_X11)
endif()

add_executable(quorin ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quorin PRIVATE quorin_ui)
