# The S/L/L tab and the Speech Test dialog, with the templates they are built from.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CFormSLL.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CSpeechTestDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SllForms.cpp
  ${PROJECT_SOURCE_DIR}/resources/SllFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/SllTemplates.cpp
  ${PROJECT_SOURCE_DIR}/resources/SpeechTestDialogTemplate.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CFormSLL.h
  ${CMAKE_CURRENT_LIST_DIR}/CSpeechTestDlg.h
)
# The CI Data tab with its CI Speech and CI Device dialogs, and their templates.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CFormCIDataView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCiSpeechDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCiDeviceDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CiDataForms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CiFieldExchange.cpp
  ${PROJECT_SOURCE_DIR}/resources/CiDataTemplates.cpp
  ${PROJECT_SOURCE_DIR}/resources/CiDataFormTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/CiSpeechDialogTemplate.cpp
  ${PROJECT_SOURCE_DIR}/resources/CiDeviceDialogTemplate.cpp
  # Listed so that moc sees their Q_OBJECT classes.
  ${CMAKE_CURRENT_LIST_DIR}/CFormCIDataView.h
  ${CMAKE_CURRENT_LIST_DIR}/CCiSpeechDlg.h
  ${CMAKE_CURRENT_LIST_DIR}/CCiDeviceDlg.h
)
# The CI Database Lookup and the registration of the CID commands.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/CCidLookupDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CidImportUi.cpp
  ${PROJECT_SOURCE_DIR}/resources/CidLookupTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCidLookupDlg.h
)
