# Sound output: decoded files played through the desktop's sound server.
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

add_library(velmor_sound STATIC
  platform/SoundPlayer.cpp platform/SoundPlayer.h
  session/SoundManager.cpp session/SoundManager.h
)
target_link_libraries(velmor_sound PUBLIC velmor_core Qt6::Multimedia PRIVATE PkgConfig::SNDFILE)

# bench/sound-latency.sh builds and runs this against a private sound server.
add_executable(sound_latency_bench EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/bench/sound-latency.cpp)
target_link_libraries(sound_latency_bench PRIVATE velmor_sound)
