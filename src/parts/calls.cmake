# Call detection: the microphone through PulseAudio (ALSA without a server) and the calendars
# of Evolution Data Server and of listed .ics files.
pkg_check_modules(VELMOR_CALLS_DEPS REQUIRED IMPORTED_TARGET
  libpulse libical libecal-2.0 libedataserver-1.2)

add_library(velmor_calls STATIC
  ${CMAKE_CURRENT_LIST_DIR}/../platform/AlsaMicrophone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/AlsaMicrophone.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/CalendarFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/CalendarFiles.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/CalendarSource.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/EdsCalendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/EdsCalendar.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/IcsCalendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/IcsCalendar.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/IcsEvents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/IcsEvents.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/Microphone.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/MicrophoneChain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/MicrophoneChain.h
  ${CMAKE_CURRENT_LIST_DIR}/../platform/PulseMicrophone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/PulseMicrophone.h
  ${CMAKE_CURRENT_LIST_DIR}/../session/CallDetectionService.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../session/CallDetectionService.h
)
target_link_libraries(velmor_calls PUBLIC velmor_core PRIVATE PkgConfig::VELMOR_CALLS_DEPS)
