# Proves at configure time that a rules library refuses widget and chart headers by
# every usual spelling: each probe compiles on its own but must fail with the refusing
# headers in front, as the rules libraries are compiled.
file(GLOB probes ${CMAKE_CURRENT_LIST_DIR}/probes/*.cpp)
foreach(probe ${probes})
    get_filename_component(name ${probe} NAME_WE)
    foreach(refusing OFF ON)
        set(flags)
        if(refusing)
            set(flags "-DINCLUDE_DIRECTORIES=${CMAKE_CURRENT_LIST_DIR}/rules_only")
        endif()
        try_compile(compiled ${CMAKE_BINARY_DIR}/refuse_widgets/${name}_${refusing}
                    SOURCES ${probe} CMAKE_FLAGS ${flags}
                    LINK_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Charts
                    CXX_STANDARD 17)
        if(refusing AND compiled)
            message(FATAL_ERROR "A rules library could include a widget header (${probe}): "
                                "cmake/rules_only no longer stands in front of it.")
        elseif(NOT refusing AND NOT compiled)
            message(FATAL_ERROR "The widget-header probe ${probe} does not compile even "
                                "without the refusing headers, so it proves nothing.")
        endif()
    endforeach()
endforeach()
