# Helpers shared by the subsystem folders.

# verdalis_library(NAME <target> [DIR <folder>] LIBS <libs...>)
# One static library from every .cpp/.h of a folder (default: the current one).
# Rules libraries link Qt Core/Gui only; ui/ libraries add Qt Widgets.
function(verdalis_library)
    cmake_parse_arguments(ARG "" "NAME;DIR" "LIBS" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    add_library(${ARG_NAME} STATIC ${sources})
    target_include_directories(${ARG_NAME} PUBLIC ${ARG_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LIBS})
endfunction()

# verdalis_add_test(NAME <name> SOURCES <files...> LIBS <libs...> LABEL unit|gui)
# Registers one test program with CTest; every test runs on the offscreen
# platform so no display is needed.
function(verdalis_add_test)
    cmake_parse_arguments(ARG "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
    set_target_properties(${ARG_NAME} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        LABELS "${ARG_LABEL}"
        TIMEOUT 600)
endfunction()
