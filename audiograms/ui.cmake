# The audiogram chart view, its painting and printing.
quorin_sources(quorin_ui
  ${CMAKE_CURRENT_LIST_DIR}/AudiogramViews.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CViewAud.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPainter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPrinting.cpp
  # Listed so that moc sees its Q_OBJECT class.
  ${CMAKE_CURRENT_LIST_DIR}/CViewAud.h
)
