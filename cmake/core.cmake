# The portable core: every source outside the Win32 shell files (*_win32.cpp) and program entry points.
file(GLOB VYX_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/common/*.cpp
  ${CMAKE_SOURCE_DIR}/common/seams/*.cpp
  ${CMAKE_SOURCE_DIR}/manager/model/*.cpp
  ${CMAKE_SOURCE_DIR}/manager/output/*.cpp
  ${CMAKE_SOURCE_DIR}/manager/app/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/*.cpp
  ${CMAKE_SOURCE_DIR}/spoolkit/*.cpp)
list(FILTER VYX_CORE_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
add_library(vyxcore STATIC ${VYX_CORE_SOURCES})
target_include_directories(vyxcore PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(vyxcore PUBLIC VYX_VERSION="${PROJECT_VERSION}")
vyx_warnings(vyxcore)
