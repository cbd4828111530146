find_package(Qt5 ${YM_QT_MIN_VERSION} REQUIRED COMPONENTS LinguistTools)

# ym_add_translations(<sources-var> <name>): compiles translations/<name>_*.ts
# with lrelease and appends to <sources-var> a resource that holds the .qm files
# under :/i18n/<name>_<language>.qm. Its initialiser is named after <name>
# (Q_INIT_RESOURCE(<name>_i18n) where the code is linked statically).
function(ym_add_translations sources_var name)
    file(GLOB _ts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/${name}_*.ts)
    set_source_files_properties(${_ts} PROPERTIES OUTPUT_LOCATION ${CMAKE_CURRENT_BINARY_DIR}/i18n)
    qt5_add_translation(_qm ${_ts} OPTIONS -silent)
    set(_entries "")
    foreach(_file IN LISTS _qm)
        get_filename_component(_base ${_file} NAME)
        string(APPEND _entries "        <file alias=\"${_base}\">${_file}</file>\n")
    endforeach()
    set(_qrc ${CMAKE_CURRENT_BINARY_DIR}/${name}_i18n.qrc)
    file(CONFIGURE OUTPUT ${_qrc} CONTENT
        "<RCC>\n    <qresource prefix=\"/i18n\">\n${_entries}    </qresource>\n</RCC>\n")
    qt5_add_resources(_rcc ${_qrc})
    set(${sources_var} ${${sources_var}} ${_rcc} PARENT_SCOPE)
endfunction()
