# hx_add_plugin(<target> <sources...>)
#
# Builds a plug-in the way the host expects one: a loadable module named <target>.so (no
# "lib" prefix), linked -Bsymbolic against the host API library, with the host's compile
# definitions. GL symbols stay undefined: the process that loads the plug-in supplies them
# (Mesa in the hxnoise tool, the recorder in tests).
function(hx_add_plugin target)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".so")
  target_link_libraries(${target} PRIVATE hxhost hx_warnings)
  target_link_options(${target} PRIVATE "LINKER:-Bsymbolic")
endfunction()
