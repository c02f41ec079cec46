# Storage, handlers, descriptions: no display needed.
velmor_test(shortcuts_test LIBS velmor_shortcuts Qt6::Test SOURCES
  shortcuts/FakeHotKeys.h
  shortcuts/ShortcutTest.cpp
  shortcuts/GlobalShortcutsTest.cpp
  shortcuts/DescriptionTest.cpp
)

# Real hot keys on the X server the test runner starts (DISPLAY), keys sent with xdotool.
velmor_test(shortcuts_x11_test LOCK x11_input LIBS velmor_shortcuts velmor_test_gui Qt6::Widgets PkgConfig::VELMOR_X11_KEYS SOURCES
  shortcuts/X11HotKeysTest.cpp
)
