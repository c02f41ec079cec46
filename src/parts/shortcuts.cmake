# Global shortcuts: named shortcuts, their storage, and system-wide hot keys on X11.
pkg_check_modules(VELMOR_X11_KEYS REQUIRED IMPORTED_TARGET GLOBAL
  xcb xcb-keysyms xcb-xkb xkbcommon xkbcommon-x11)

add_library(velmor_shortcuts STATIC
  platform/KeyCodes.cpp platform/KeyCodes.h
  platform/X11HotKeys.cpp platform/X11HotKeys.h
  shortcuts/GlobalShortcuts.cpp shortcuts/GlobalShortcuts.h
  shortcuts/HotKeyCenter.cpp shortcuts/HotKeyCenter.h
  shortcuts/HotKeyService.h
  shortcuts/KeyboardLayout.cpp shortcuts/KeyboardLayout.h
  shortcuts/MenuKeyFilter.cpp shortcuts/MenuKeyFilter.h
  shortcuts/MenuTracker.cpp shortcuts/MenuTracker.h
  shortcuts/Shortcut.cpp shortcuts/Shortcut.h
  shortcuts/ShortcutDescription.cpp shortcuts/ShortcutDescription.h
)
target_link_libraries(velmor_shortcuts PUBLIC velmor_core Qt6::Gui PRIVATE PkgConfig::VELMOR_X11_KEYS)
