# The Subject and Other tabs, the lookups and the Recruitment dialog, with the templates
# they are built from.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/AdminImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CFormOther.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CFormSubject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CMedicalManagerLookupDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CRecruitmentDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CSubjectLookupDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ParticipationCodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectArtwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectFormExchange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SubjectForms.cpp
  ${PROJECT_SOURCE_DIR}/resources/LookupDialogTemplates.cpp
  ${PROJECT_SOURCE_DIR}/resources/OtherFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/RecruitmentDialogTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/SubjectFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/SubjectTemplates.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CFormOther.h
  ${CMAKE_CURRENT_LIST_DIR}/CFormSubject.h
  ${CMAKE_CURRENT_LIST_DIR}/CMedicalManagerLookupDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CRecruitmentDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CSubjectLookupDlg.h
)
