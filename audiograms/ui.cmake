# The audiogram chart view, its painting and printing.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramViews.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CViewAud.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPrinting.cpp
  # Listed so that moc sees its Q_OBJECT class.
  ${CMAKE_CURRENT_LIST_DIR}/CViewAud.h
)
# The Data and Comments tabs, with the templates they are built from.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CFormAudData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CFormAudOther.cpp
  ${PROJECT_SOURCE_DIR}/resources/AudDataFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/AudOtherFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/AudTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CFormAudData.h
  ${CMAKE_CURRENT_LIST_DIR}/CFormAudOther.h
)
# The Audiogram Manager search dialog (162) with its template.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CAmSearchDlg.cpp
  ${PROJECT_SOURCE_DIR}/resources/AmSearchDialogTemplate.cpp
  # Listed so that moc sees its Q_OBJECT class.
  ${CMAKE_CURRENT_LIST_DIR}/CAmSearchDlg.h
)
# Tools > Update on the menu.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/ToolsUpdateUi.cpp
)
