# The timeline needs no display; the panels and the manager run under the test runner's Xvfb.
velmor_test(overlay_timeline_test LIBS velmor_overlay SOURCES
  session/OverlayTimelineTest.cpp
  session/OverlayReduceMotionTest.cpp
)
# They grab the keyboard and move the shared pointer: nothing else runs beside them.
velmor_test(overlay_display_test SERIAL LIBS velmor_overlay velmor_test_gui Qt6::Test PkgConfig::VELMOR_OVERLAY_DEPS SOURCES
  session/OverlayDisplayTest.cpp
)
