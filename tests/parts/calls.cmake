pkg_check_modules(VELMOR_CALLS_TEST_DEPS REQUIRED IMPORTED_TARGET libpulse libpulse-simple)

# A level meter in a process of its own, for the microphone tests.
add_executable(calls_peak_meter session/CallPeakMeter.cpp)
target_link_libraries(calls_peak_meter PRIVATE PkgConfig::VELMOR_CALLS_TEST_DEPS)

# The microphone cases change the shared server's default source for a moment.
velmor_test(calls_test LOCK velmor_default_sink LIBS velmor_calls PkgConfig::VELMOR_CALLS_TEST_DEPS SOURCES
  session/CallDetectionServiceTest.cpp
  session/CallMicrophoneTest.cpp
  platform/IcsCalendarTest.cpp
)
add_dependencies(calls_test calls_peak_meter)
target_compile_definitions(calls_test PRIVATE VELMOR_PEAK_METER="$<TARGET_FILE:calls_peak_meter>")

# Evolution Data Server under a private session bus: the program re-runs itself under
# dbus-run-session, so it is one test with its own time-out rather than discovered cases.
pkg_check_modules(VELMOR_CALLS_EDS_DEPS REQUIRED IMPORTED_TARGET libecal-2.0)
add_executable(calls_eds_test platform/EdsCalendarTest.cpp)
target_link_libraries(calls_eds_test PRIVATE velmor_calls GTest::gtest PkgConfig::VELMOR_CALLS_EDS_DEPS)
add_test(NAME calls_eds COMMAND calls_eds_test)
set_tests_properties(calls_eds PROPERTIES TIMEOUT 150)
