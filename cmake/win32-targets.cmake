# The Win32 shell: programs, the spooler library, the stand-in resource library and their Win32 logic libraries.
# Files named *_main_win32.cpp hold entry points; every other *_win32.cpp goes into its subsystem's library so
# that Win32 tests can link it.
set(VYX_WIN32_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
set(VYX_WIN32_SYSLIBS winspool comctl32 comdlg32 shell32 ole32 advapi32 user32 gdi32 ws2_32 userenv wtsapi32 psapi
  shlwapi version)

function(vyx_win32_library name program)
  file(GLOB srcs CONFIGURE_DEPENDS ${ARGN})
  list(FILTER srcs INCLUDE REGEX "_win32\\.cpp$")
  list(FILTER srcs EXCLUDE REGEX "_main_win32\\.cpp$")
  file(GLOB common_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/*_win32.cpp
    ${CMAKE_SOURCE_DIR}/common/seams/*_win32.cpp)
  add_library(${name} STATIC ${srcs} ${common_srcs})
  target_compile_definitions(${name} PUBLIC ${VYX_WIN32_DEFS} PRIVATE VYX_PROGRAM_${program})
  target_link_libraries(${name} PUBLIC vyxcore ${VYX_WIN32_SYSLIBS})
  vyx_warnings(${name})
endfunction()

function(vyx_win32_program name lib main rc)
  add_executable(${name} WIN32 ${main} ${rc})
  target_link_libraries(${name} PRIVATE ${lib})
  target_link_options(${name} PRIVATE -municode)
  vyx_warnings(${name})
endfunction()

vyx_win32_library(vyxmanagerwin MANAGER ${CMAKE_SOURCE_DIR}/manager/model/*.cpp
  ${CMAKE_SOURCE_DIR}/manager/output/*.cpp ${CMAKE_SOURCE_DIR}/manager/app/*.cpp)
vyx_win32_program(VyxQ5Manager vyxmanagerwin ${CMAKE_SOURCE_DIR}/manager/app/manager_main_win32.cpp
  ${CMAKE_SOURCE_DIR}/manager/app/VyxQ5Manager.rc)

if(NOT VYX_MANAGER_ONLY)
  vyx_win32_library(vyxsetupwin SETUP ${CMAKE_SOURCE_DIR}/setup/*.cpp)
  # Device setup and the configuration manager, for the printer devices the driver package work removes.
  target_link_libraries(vyxsetupwin PUBLIC setupapi cfgmgr32)
  vyx_win32_program(VyxSetup vyxsetupwin ${CMAKE_SOURCE_DIR}/setup/setup_main_win32.cpp
    ${CMAKE_SOURCE_DIR}/setup/VyxSetup.rc)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/setup/VyxSetup.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/setup/resource.h;${CMAKE_SOURCE_DIR}/resources/setup/welcome.bmp")

  # The session helper's Win32 code as objects: all of it goes into the DLL (the .def names the exports) and into
  # the Win32 tests, which call its functions with platform tables of their own.
  file(GLOB spoolkit_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/spoolkit/*_win32.cpp)
  list(FILTER spoolkit_srcs EXCLUDE REGEX "_main_win32\\.cpp$")
  add_library(vyxspoolkitwin OBJECT ${spoolkit_srcs})
  target_compile_definitions(vyxspoolkitwin PUBLIC ${VYX_WIN32_DEFS} PRIVATE SPOOLKIT_BUILDING)
  target_link_libraries(vyxspoolkitwin PUBLIC vyxcore ${VYX_WIN32_SYSLIBS})
  vyx_warnings(vyxspoolkitwin)
  add_library(Spoolkit SHARED ${CMAKE_SOURCE_DIR}/spoolkit/spoolkit_main_win32.cpp
    ${CMAKE_SOURCE_DIR}/spoolkit/Spoolkit.rc ${CMAKE_SOURCE_DIR}/spoolkit/Spoolkit.def)
  set_target_properties(Spoolkit PROPERTIES PREFIX "" OUTPUT_NAME Spoolkit)
  target_link_libraries(Spoolkit PRIVATE vyxspoolkitwin)
  vyx_warnings(Spoolkit)

  # Stand-in for the language resource library: strings only, no code, no entry point.
  file(GLOB resdll_rc CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/VyxResDll/*.rc)
  add_library(VyxResDll SHARED ${CMAKE_SOURCE_DIR}/resources/VyxResDll/VyxResDll.rc)
  set_target_properties(VyxResDll PROPERTIES PREFIX "" OUTPUT_NAME VyxResDll LINKER_LANGUAGE C)
  target_link_options(VyxResDll PRIVATE -nostdlib -Wl,-e,0 -Wl,--no-insert-timestamp)
  # The string tables are included by VyxResDll.rc: a change to any of them must rebuild the library.
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/VyxResDll/VyxResDll.rc PROPERTIES OBJECT_DEPENDS
    "${resdll_rc}")
endif()
