# The report window base, printing, and the registration of the report windows.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CReportDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportWindows.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CReportDlg.h
)
