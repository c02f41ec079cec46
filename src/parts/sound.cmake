# Sound output: decoded files played through the desktop's sound server.
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

add_library(velmor_sound STATIC
  platform/SoundPlayer.cpp platform/SoundPlayer.h
)
target_link_libraries(velmor_sound PUBLIC velmor_core Qt6::Multimedia PRIVATE PkgConfig::SNDFILE)
