# Form layouts compiled into the program: qm_embed_forms(target dir) turns every dir/*.qfm into
# a generated .cpp that registers the layout under its file name (the form's class name) when
# the program starts. For a library the object file goes to every program that links it (so
# the static linker cannot drop it); for a program it is one of its own sources.
set(QM_EMBED_FORMS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedForms.cmake)

function(qm_embed_forms target dir)
  file(GLOB layouts CONFIGURE_DEPENDS ${dir}/*.qfm)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms.cpp)
  add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DLAYOUTS=${layouts}" -P ${QM_EMBED_FORMS_SCRIPT}
      DEPENDS ${layouts} ${QM_EMBED_FORMS_SCRIPT}
      COMMENT "Embedding the form layouts of ${dir}"
      VERBATIM)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE ${out})
  else()
    add_library(${target}_forms OBJECT ${out})
    target_link_libraries(${target}_forms PRIVATE platform_gui)
    target_sources(${target} INTERFACE $<TARGET_OBJECTS:${target}_forms>)
    add_dependencies(${target} ${target}_forms)
  endif()
endfunction()
