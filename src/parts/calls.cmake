# Call detection: the microphone through PulseAudio (ALSA without a server) and the calendars
# of Evolution Data Server and of listed .ics files.
pkg_check_modules(VELMOR_CALLS_DEPS REQUIRED IMPORTED_TARGET GLOBAL
  libpulse libical libecal-2.0 libedataserver-1.2)

add_library(velmor_calls STATIC
  platform/AlsaMicrophone.cpp platform/AlsaMicrophone.h
  platform/CalendarFiles.cpp platform/CalendarFiles.h
  platform/CalendarSource.h
  platform/EdsCalendar.cpp platform/EdsCalendar.h
  platform/IcsCalendar.cpp platform/IcsCalendar.h
  platform/IcsEvents.cpp platform/IcsEvents.h
  platform/Microphone.h
  platform/MicrophoneChain.cpp platform/MicrophoneChain.h
  platform/PulseMicrophone.cpp platform/PulseMicrophone.h
  session/CallDetectionService.cpp session/CallDetectionService.h
)
target_link_libraries(velmor_calls PUBLIC velmor_core PRIVATE PkgConfig::VELMOR_CALLS_DEPS)

# bench/calls-check.sh builds and runs this.
add_executable(calls_check_bench EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/bench/calls-check.cpp)
target_link_libraries(calls_check_bench PRIVATE velmor_calls)
set_target_properties(calls_check_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
