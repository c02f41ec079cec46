# The overlay: full-screen panels, the overlay view and its fades, and the desktop services they
# need (main screen, reduce motion, the Lora faces).
pkg_check_modules(VELMOR_OVERLAY_DEPS REQUIRED IMPORTED_TARGET GLOBAL xcb gio-2.0)

add_library(velmor_overlay STATIC
  ${CMAKE_CURRENT_LIST_DIR}/../platform/Fonts.cpp ${CMAKE_CURRENT_LIST_DIR}/../platform/Fonts.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/MainScreen.cpp ${CMAKE_CURRENT_LIST_DIR}/../platform/MainScreen.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/ReduceMotion.cpp ${CMAKE_CURRENT_LIST_DIR}/../platform/ReduceMotion.h
  ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayTimeline.cpp ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayTimeline.h
  ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayView.cpp ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayView.h
  ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayManager.cpp ${CMAKE_CURRENT_LIST_DIR}/../session/OverlayManager.h
)
target_link_libraries(velmor_overlay PUBLIC velmor_core Qt6::Gui Qt6::Widgets
  PRIVATE PkgConfig::VELMOR_OVERLAY_DEPS)

add_subdirectory(${PROJECT_SOURCE_DIR}/tools/overlay-preview ${CMAKE_BINARY_DIR}/tools/overlay-preview)
