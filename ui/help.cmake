# lw_add_help_collection(<target> <qhcp file> <destination dir> [ALL] [STYLE <css file>])
# Builds a Qt help collection from the sources beside <qhcp file> (and the shared stylesheet, when given). The sources are copied into the build tree
# first because qhelpgenerator writes the .qch files next to their .qhp; the finished .qhc and .qch files are
# then copied into <destination dir>.
find_program(LW_QHELPGENERATOR qhelpgenerator
    HINTS /usr/lib/qt6/libexec /usr/lib/qt6/bin ${QT6_INSTALL_PREFIX}/libexec
    PATHS /usr/lib/qt6/libexec)

function(lw_add_help_collection target qhcp dest)
    cmake_parse_arguments(PARSE_ARGV 3 arg "ALL" "STYLE" "")
    if(NOT LW_QHELPGENERATOR)
        message(FATAL_ERROR "qhelpgenerator not found (Debian package qt6-documentation-tools)")
    endif()
    get_filename_component(src_dir ${qhcp} DIRECTORY)
    get_filename_component(qhcp_name ${qhcp} NAME)
    get_filename_component(base ${qhcp} NAME_WE)
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${target}_src)
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${src_dir}/*)
    set(style_copy "")
    if(arg_STYLE)
        list(APPEND inputs ${arg_STYLE})
        set(style_copy COMMAND ${CMAKE_COMMAND} -E copy ${arg_STYLE} ${work}/)
    endif()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${work}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${src_dir} ${work}
        ${style_copy}
        COMMAND ${LW_QHELPGENERATOR} ${work}/${qhcp_name} -o ${work}/${base}.qhc
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dest}
        COMMAND ${CMAKE_COMMAND} -DWORK=${work} -DDEST=${dest} -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/help_copy.cmake
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${inputs}
        COMMENT "Building help collection ${base}.qhc"
        VERBATIM)
    if(arg_ALL)
        add_custom_target(${target} ALL DEPENDS ${stamp})
    else()
        add_custom_target(${target} DEPENDS ${stamp})
    endif()
endfunction()
