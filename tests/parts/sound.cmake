# Sound tests play through the private PulseAudio server of scripts/run-tests.sh and record its
# null sink's monitor; they skip when no server answers.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

# They record the shared sink, so no other test may play to it meanwhile.
velmor_test(sound_test LOCK velmor_default_sink LIBS velmor_sound PkgConfig::SNDFILE Qt6::Test SOURCES
  session/SoundDecodeTest.cpp
  session/SoundManagerTest.cpp
)
add_dependencies(sound_test velmor_sounds)
