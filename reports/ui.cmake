# The report window base, printing, and the registration of the report windows.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CReportDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrintList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportWindows.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CReportDlg.h
)
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CConsentReportDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CContactReportDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CLettersDlg.cpp
  ${PROJECT_SOURCE_DIR}/resources/ConsentReportTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CConsentReportDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CContactReportDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CLettersDlg.h
)
# The Dataset and IRB report window and its template.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CDatasetReportDlg.cpp
  ${PROJECT_SOURCE_DIR}/resources/DatasetReportTemplate.cpp
  # Listed so that moc sees its Q_OBJECT class.
  ${CMAKE_CURRENT_LIST_DIR}/CDatasetReportDlg.h
)
# The Participation, Feedback and Closed Dataset windows and their templates.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CClosedDatasetDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CFeedbackDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CParticipationDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipationWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WidenColumns.cpp
  ${PROJECT_SOURCE_DIR}/resources/ParticipationReportTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CClosedDatasetDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CFeedbackDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CParticipationDlg.h
)
# The Database Numbers, Numbers added per month and Demographics windows and templates.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CDatabaseNumbersDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CDemographicsDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CMonthlyNumbersDlg.cpp
  ${PROJECT_SOURCE_DIR}/resources/NumbersReportTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CDatabaseNumbersDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CDemographicsDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CMonthlyNumbersDlg.h
)
