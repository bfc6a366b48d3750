# OLWATCH.DLL, the companion mouse-watch library, beside Ostrel.exe. It is self-contained
# like the program (the static runtime is linked in) and exports exactly DLLATTACH and
# DLLDETACH, by those names, in both the 32-bit and the 64-bit build.
add_library(OLWATCH SHARED
  ${PROJECT_SOURCE_DIR}/olwatch/OlWatch.cpp
  ${PROJECT_SOURCE_DIR}/olwatch/CornerGesture.cpp
  ${PROJECT_SOURCE_DIR}/olwatch/olwatch.def
)
target_include_directories(OLWATCH PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(OLWATCH PRIVATE user32 kernel32)
target_link_options(OLWATCH PRIVATE -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
set_target_properties(OLWATCH PROPERTIES
  PREFIX ""
  OUTPUT_NAME OLWATCH
  SUFFIX .DLL
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/olwatch)

# The library itself: its kind, its imports and its exports. Needs no Wine.
add_test(NAME dll_self_contained COMMAND bash ${PROJECT_SOURCE_DIR}/tests/build/check_pe.sh
         $<TARGET_FILE:OLWATCH> ${CMAKE_OBJDUMP} ${OSTREL_PE_KIND} DLLATTACH DLLDETACH)
set_tests_properties(dll_self_contained PROPERTIES LABELS nowine)

# The Wine-ring tests load the real library from their own folder. win32_tests is defined
# after this file is read, so the dependency is added once the whole tree is.
function(olwatch_before_win32_tests)
  if(TARGET win32_tests)
    add_dependencies(win32_tests OLWATCH)
  endif()
endfunction()
cmake_language(DEFER CALL olwatch_before_win32_tests)
