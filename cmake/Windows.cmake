# Windows tree: Ostrel.exe, the Win32 tests (run under Wine by ctest) and the
# end-to-end tests of the real program.
enable_language(RC)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE MinSizeRel)
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# One self-contained executable: no MinGW runtime DLLs beside it.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_options(-ffunction-sections -fdata-sections)

ostrel_core_library(ostrel_core)

add_library(ostrel_win32 STATIC
  platform/win32/Win32Files.cpp
  platform/win32/Win32Ports.cpp
  platform/win32/Win32HookLibrary.cpp
  platform/win32/Win32CodePage.cpp
  platform/win32/Win32Clock.cpp
  platform/win32/Win32Programs.cpp
  platform/win32/Win32Input.cpp
  platform/win32/TypingReader.cpp
  platform/win32/Win32Keyboard.cpp
  platform/win32/Win32Registry.cpp
  platform/win32/Win32ShellLink.cpp
  platform/win32/Win32OneCopy.cpp
  platform/win32/Win32Contrast.cpp
  platform/win32/Win32Clipboard.cpp
  components/win32/WindowedComponent.cpp
  components/win32/SysHotKeyWindow.cpp
  components/win32/TrayIconWindow.cpp
  components/win32/BrowseFolder.cpp
  components/win32/Menus97.cpp
  components/win32/Menus97Attach.cpp
  components/win32/Menus97Draw.cpp
  components/win32/Menus97Measure.cpp
  components/win32/Menus97Banner.cpp
  components/win32/Menus97Images.cpp
  components/win32/Menus97Paint.cpp
  components/win32/Menus97Names.cpp
  toolkit/Accessible.cpp
  toolkit/Application.cpp
  toolkit/Art.cpp
  toolkit/DpiQueries.cpp
  toolkit/Form.cpp
  toolkit/Controls.cpp
  toolkit/Dialogs.cpp
  toolkit/HelpButton.cpp
  toolkit/HintWindow.cpp
  toolkit/Subclass.cpp
  toolkit/UiFont.cpp
  components/win32/Balloon.cpp
  macro/win32/MacroListEditorWindow.cpp
  dialogs/win32/KeyEditorWindow.cpp
  dialogs/win32/FunctionChooserWindow.cpp
  app/win32/OstrelForm.cpp
  app/win32/OstrelFormMenus.cpp
  app/win32/HelpPage.cpp
)
target_link_libraries(ostrel_win32 PUBLIC ostrel_core comctl32 comdlg32 shell32 shlwapi ole32 uuid
                      advapi32 msimg32 gdi32 user32 kernel32)

# The kind of Windows file this tree makes, which the checks of the shipped files expect.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(OSTREL_PE_KIND PE32)
else()
  set(OSTREL_PE_KIND PE32+)
endif()

# OLWATCH.DLL, the companion mouse-watch library.
include(${PROJECT_SOURCE_DIR}/cmake/OlWatch.cmake)

add_executable(Ostrel WIN32 app/win32/main.cpp resources/Ostrel.rc)
target_link_libraries(Ostrel PRIVATE ostrel_win32)
# Light to ship: unused code dropped, symbols stripped. No link time in the header, so
# the same commit links to the same bytes (reproducible release packages).
target_link_options(Ostrel PRIVATE -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
set_source_files_properties(resources/Ostrel.rc PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/resources/ostrel.ico;${PROJECT_SOURCE_DIR}/resources/Ostrel.manifest;${PROJECT_SOURCE_DIR}/resources/imagelist1.bmp;${PROJECT_SOURCE_DIR}/resources/helpglyph.bmp;${PROJECT_SOURCE_DIR}/resources/toolglyphs.bmp")
# The same pictures drawn for 120, 144 and 192 DPI.
foreach(art imagelist1 helpglyph toolglyphs)
  foreach(size 20 24 32)
    set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY OBJECT_DEPENDS
      "${PROJECT_SOURCE_DIR}/resources/${art}_${size}.bmp")
  endforeach()
endforeach()
# The help page ships beside the program, which opens it in the browser. An edit of the
# page copies it again at the next build.
# Its footer carries the version (@PROJECT_VERSION@).
configure_file(${PROJECT_SOURCE_DIR}/resources/ostrel.htm ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ostrel.htm
               @ONLY)
# The example set ships beside the program too, drawn by its script where Python is at
# hand (scripts/package always draws it for the release).
find_program(OSTREL_PYTHON NAMES python3 python)
if(OSTREL_PYTHON)
  set(OSTREL_EXAMPLES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Examples.fil
                      ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Examples.skl)
  add_custom_command(OUTPUT ${OSTREL_EXAMPLES}
    COMMAND ${OSTREL_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/lib/make_examples.py
            ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/lib/make_examples.py)
  add_custom_target(examples ALL DEPENDS ${OSTREL_EXAMPLES})
endif()
# The project version for the version record (Ostrel.rc includes ostrel_version.h) and
# for scripts/package (version.txt).
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/ostrel_version.h CONTENT
  "#define OSTREL_VERSION_TEXT \"@PROJECT_VERSION@\"\n#define OSTREL_VERSION_BINARY @PROJECT_VERSION_MAJOR@,@PROJECT_VERSION_MINOR@,@PROJECT_VERSION_PATCH@,0\n"
  @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "@PROJECT_VERSION@\n" @ONLY)
set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/generated)
set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_BINARY_DIR}/generated/ostrel_version.h)
# The function chooser's icons.
set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/resources/funicons.bmp;${PROJECT_SOURCE_DIR}/resources/funicons_40.bmp;${PROJECT_SOURCE_DIR}/resources/funicons_48.bmp;${PROJECT_SOURCE_DIR}/resources/funicons_64.bmp")
# The banner menus' mark bitmaps.
set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/resources/checkmark.bmp;${PROJECT_SOURCE_DIR}/resources/radiomark.bmp")
foreach(mark checkmark radiomark)
  foreach(size 21 26 34)
    set_property(SOURCE resources/Ostrel.rc APPEND PROPERTY OBJECT_DEPENDS
      "${PROJECT_SOURCE_DIR}/resources/${mark}_${size}.bmp")
  endforeach()
endforeach()

# The executable itself: its kind and its imports. Needs no Wine, so it is checked even
# where the Windows tests run another build.
add_test(NAME exe_self_contained COMMAND bash ${PROJECT_SOURCE_DIR}/tests/build/check_pe.sh
         $<TARGET_FILE:Ostrel> ${CMAKE_OBJDUMP} ${OSTREL_PE_KIND})
set_tests_properties(exe_self_contained PROPERTIES LABELS nowine)
add_test(NAME help_page_shipped COMMAND bash ${PROJECT_SOURCE_DIR}/tests/build/check_help_page.sh
         $<TARGET_FILE_DIR:Ostrel>/ostrel.htm)
set_tests_properties(help_page_shipped PROPERTIES LABELS nowine)

# GoogleTest built from source with the same compiler where its sources are (Debian ships
# them in /usr/src); otherwise the installed one (MSYS2's mingw-w64-i686-gtest), its static
# libraries first, so that the test programs run without GoogleTest's DLLs beside them.
set(OSTREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${OSTREL_GTEST_SOURCE}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${OSTREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w)
    endif()
  endforeach()
  set(OSTREL_GTEST_MAIN gtest_main)
else()
  find_library(OSTREL_GTEST_STATIC NAMES libgtest.a)
  find_library(OSTREL_GTEST_MAIN_STATIC NAMES libgtest_main.a)
  find_path(OSTREL_GTEST_INCLUDE gtest/gtest.h)
  if(OSTREL_GTEST_STATIC AND OSTREL_GTEST_MAIN_STATIC AND OSTREL_GTEST_INCLUDE)
    add_library(ostrel_gtest_main INTERFACE)
    target_include_directories(ostrel_gtest_main SYSTEM INTERFACE ${OSTREL_GTEST_INCLUDE})
    target_link_libraries(ostrel_gtest_main INTERFACE ${OSTREL_GTEST_MAIN_STATIC} ${OSTREL_GTEST_STATIC})
    set(OSTREL_GTEST_MAIN ostrel_gtest_main)
  else()
    find_package(GTest)
    if(TARGET GTest::gtest_main)
      set(OSTREL_GTEST_MAIN GTest::gtest_main)
    endif()
  endif()
endif()
if(NOT OSTREL_GTEST_MAIN)
  message(STATUS "No GoogleTest (sources at ${OSTREL_GTEST_SOURCE}, or installed): building the program only")
  return()
endif()

# Wine ring: the adapters and windows in-process.
file(GLOB OSTREL_WIN32_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*.cpp)
# The tests carry the program's resources (icon, manifest) so windows are built as in Ostrel.exe.
add_executable(win32_tests ${OSTREL_WIN32_TESTS} resources/Ostrel.rc)
target_include_directories(win32_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(win32_tests PRIVATE ostrel_win32 ${OSTREL_GTEST_MAIN})
# The save code in a process of its own, for the Win32 tests to kill at chosen steps.
add_executable(savehost tests/win32/host/savehost.cpp)
target_link_libraries(savehost PRIVATE ostrel_win32)
add_dependencies(win32_tests savehost)
add_test(NAME win32_tests COMMAND win32_tests --gtest_filter=-SaveCrash.*)
set_tests_properties(win32_tests PROPERTIES TIMEOUT 300)
# Hundreds of processes started and killed: a run of its own.
add_test(NAME win32_save_crash COMMAND win32_tests --gtest_filter=SaveCrash.*)
set_tests_properties(win32_save_crash PROPERTIES TIMEOUT 1200)
# Looks into other programs' windows, for the tests (here and end to end).
add_executable(olprobe tests/e2e/olprobe.cpp)
target_include_directories(olprobe PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(olprobe PRIVATE user32 kernel32)
# The test hook library that reads a running program's menus from inside its process
# (olprobe hook): the program's word size, since it is loaded into the program.
add_library(menunames SHARED tests/e2e/menunames.cpp)
set_target_properties(menunames PROPERTIES PREFIX "")
target_include_directories(menunames PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(menunames PRIVATE user32 kernel32)
# The hook procedure is found by its plain name.
target_link_options(menunames PRIVATE -Wl,--kill-at)
add_dependencies(olprobe menunames)
# The real Ostrel.exe started beside a Keys.fil and ended by its terminate message.
# The launcher lives in support/, which the bench shares.
add_executable(smoketest tests/e2e/smoketest.cpp support/win32/OstrelLaunch.cpp)
target_link_libraries(smoketest PRIVATE ostrel_core shell32 user32 kernel32)
add_dependencies(smoketest Ostrel OLWATCH)
# The self-test's runner starts each program through it, with a time limit.
add_executable(timelimit packaging/timelimit.cpp)
target_link_libraries(timelimit PRIVATE kernel32)
target_include_directories(timelimit PRIVATE ${PROJECT_SOURCE_DIR})
# They ship in the self-test package (scripts/package): no link time, like the program.
foreach(t win32_tests savehost olprobe smoketest timelimit)
  target_link_options(${t} PRIVATE -Wl,--no-insert-timestamp)
endforeach()

if(NOT CMAKE_CROSSCOMPILING)
  return()  # on Windows itself the Win32 tests run as they are
endif()

# Under Wine every Windows test shares one session: a private X display and the tree's
# Wine prefix with its virtual desktop.
set(OSTREL_SESSION ${PROJECT_SOURCE_DIR}/scripts/lib/wine-session)
add_test(NAME wine_session_start COMMAND ${OSTREL_SESSION} start ${CMAKE_BINARY_DIR} ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine_session_stop COMMAND ${OSTREL_SESSION} stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
set_tests_properties(win32_tests win32_save_crash PROPERTIES FIXTURES_REQUIRED wine
  ENVIRONMENT "OSTREL_BUILD=${CMAKE_BINARY_DIR}")

# The 32-bit tree's Wine ring again as users have it: on 64-bit Windows (WOW64), in a
# prefix made by the 64-bit loader, with a session of its own in <build>/wow64 (label
# wow64; scripts/test runs it as a second ctest run).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(OSTREL_WOW64 ${CMAKE_BINARY_DIR}/wow64)
  file(MAKE_DIRECTORY ${OSTREL_WOW64})
  add_test(NAME wow64_session_start COMMAND ${OSTREL_SESSION} start ${OSTREL_WOW64} wow64)
  add_test(NAME wow64_session_stop COMMAND ${OSTREL_SESSION} stop ${OSTREL_WOW64})
  set_tests_properties(wow64_session_start PROPERTIES FIXTURES_SETUP wow64 LABELS wow64)
  set_tests_properties(wow64_session_stop PROPERTIES FIXTURES_CLEANUP wow64 LABELS wow64)
  add_test(NAME wow64_win32_tests COMMAND win32_tests --gtest_filter=-SaveCrash.*)
  add_test(NAME wow64_win32_save_crash COMMAND win32_tests --gtest_filter=SaveCrash.*)
  set_tests_properties(wow64_win32_tests PROPERTIES TIMEOUT 300)
  set_tests_properties(wow64_win32_save_crash PROPERTIES TIMEOUT 1200)
  set_tests_properties(wow64_win32_tests wow64_win32_save_crash PROPERTIES FIXTURES_REQUIRED wow64
    LABELS wow64 ENVIRONMENT "OSTREL_BUILD=${OSTREL_WOW64}")
endif()

# End-to-end ring: the real program in the Wine virtual desktop, looked at by olprobe.
add_executable(optprobe tests/e2e/optprobe.cpp)
target_link_libraries(optprobe PRIVATE ole32 uuid user32 kernel32)
# A stand-in browser for the help page: browserprobe.exe <log> <address>.
add_executable(browserprobe WIN32 tests/e2e/browserprobe.cpp)
target_link_libraries(browserprobe PRIVATE kernel32)
# The macro-menu editor on its own: macrolisthost.exe <list file> [<help log>].
add_executable(macrolisthost WIN32 tests/e2e/macrolisthost.cpp resources/Ostrel.rc)
target_link_libraries(macrolisthost PRIVATE ostrel_win32)
# The function chooser on its own, to look at it: chooserhost.exe.
add_executable(chooserhost WIN32 tests/e2e/chooserhost.cpp resources/Ostrel.rc)
target_link_libraries(chooserhost PRIVATE ostrel_win32)
file(GLOB OSTREL_E2E CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/test_*.sh)
foreach(script ${OSTREL_E2E})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script} ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RUN_SERIAL ON)
endforeach()

# The release packages (scripts/package): those of the shipped tree checked without Wine;
# the installer and the unpacked zip run in the tree's Wine session (the 64-bit twin's
# installer is a 64-bit one, for machines that cannot run 32-bit code).
set(OSTREL_RELEASE_TEST ${PROJECT_SOURCE_DIR}/tests/release/test_release.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME release_package COMMAND bash ${OSTREL_RELEASE_TEST} ${CMAKE_BINARY_DIR} package)
  set_tests_properties(release_package PROPERTIES LABELS nowine TIMEOUT 300)
endif()
add_test(NAME e2e_release COMMAND bash ${OSTREL_RELEASE_TEST} ${CMAKE_BINARY_DIR} install)
set_tests_properties(e2e_release PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RUN_SERIAL ON)

# Benchmarks of the real program under Wine (bench/win32): the rebuild of 1,000
# definitions, the hotkey dispatch latency and the idle CPU of Ostrel.exe. ctest only
# checks that they still run; the figures come from running the program alone.
if(TARGET ostrel_win32 AND EXISTS ${PROJECT_SOURCE_DIR}/bench/win32/ostrel_bench.cpp)
  # One file per measure; it starts Ostrel.exe with the smoke test's launcher and types
  # into the SendKeys tests' window, both in support/, which needs no test tree.
  file(GLOB OSTREL_WIN32_BENCH CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/win32/*.cpp)
  add_executable(ostrel_bench ${OSTREL_WIN32_BENCH} support/win32/OstrelLaunch.cpp resources/Ostrel.rc)
  target_link_libraries(ostrel_bench PRIVATE ostrel_win32)
  # The idle measure starts the Ostrel.exe and OLWATCH.DLL found beside the bench.
  add_dependencies(ostrel_bench Ostrel)
  if(TARGET OLWATCH)
    add_dependencies(ostrel_bench OLWATCH)
  endif()
  add_test(NAME bench_win32_smoke COMMAND ostrel_bench --smoke)
  # Serial: it presses keys on the shared desktop and makes a "Progman" window of its own.
  set_tests_properties(bench_win32_smoke PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120
    RUN_SERIAL ON ENVIRONMENT "OSTREL_BUILD=${CMAKE_BINARY_DIR}")
endif()
