# The timeline needs no display; the panels and the manager run under the test runner's Xvfb.
velmor_test(overlay_timeline_test LIBS velmor_overlay SOURCES
  session/OverlayTimelineTest.cpp
)
velmor_test(overlay_display_test LIBS velmor_overlay Qt6::Test SOURCES
  session/OverlayDisplayTest.cpp
)
# These tests grab the keyboard and move the pointer of the shared display: they must not run
# beside tests that press keys there. gtest_discover_tests leaves the names of the tests it found
# in overlay_display_test_TESTS; this file is read by ctest after the discovery file.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/overlay_display_serial.cmake
  "if(DEFINED overlay_display_test_TESTS)\n"
  "  set_tests_properties(\${overlay_display_test_TESTS} PROPERTIES RUN_SERIAL TRUE)\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
  ${CMAKE_CURRENT_BINARY_DIR}/overlay_display_serial.cmake)
