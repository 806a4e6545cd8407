# Helpers shared by the subsystem folders.

# verdalis_library(NAME <target> [DIR <folder>] [RULES] LIBS <libs...>)
# One static library from every .cpp/.h/.qrc of a folder (default: the current one).
# RULES marks a library of rules (models, file formats, decisions): it links Qt Core/Gui
# only, and the build refuses a widget or chart header in it, however it is spelled.
function(verdalis_library)
    cmake_parse_arguments(ARG "RULES" "NAME;DIR" "LIBS" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    add_library(${ARG_NAME} STATIC ${sources})
    target_include_directories(${ARG_NAME} PUBLIC ${ARG_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LIBS})
    if(ARG_RULES)
        verdalis_refuse_widgets(${ARG_NAME})
    endif()
endfunction()

# Puts the refusing headers of cmake/rules_only ahead of Qt's on the target's own include
# path; the libraries that link the target are not affected.
function(verdalis_refuse_widgets target)
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/rules_only)
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
        # The program's settings go to a folder of the build, not the user's.
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/settings"
        LABELS "${ARG_LABEL}"
        TIMEOUT 600)
endfunction()
