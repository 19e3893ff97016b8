# Cochlear-implant and speech-language records and their storage.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CCiData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CiDataLoad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CiDataWrite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonthsBetween.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeechTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeechTestEditing.cpp
)
# Adding, editing and deleting devices and CI speech rows, and the CI Data list texts.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CiDataEditing.cpp
)
# Import from the cochlear-implant database: one patient, the lookup's search, CID Import
# and Update Quorin.
quorin_sources(quorin_core
  ${CMAKE_CURRENT_LIST_DIR}/CidAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CiImportFromCid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CidImportJob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CidCommands.cpp
)
