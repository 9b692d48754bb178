# Manual pages: axcfg(1) and plcsim(1) are made from the programs' --help
# texts at build time (so every command and option is in them) plus a
# hand-written part; KELD_TAVMGR(8), started only by the library, is written
# by hand. All are installed compressed.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(man_dir ${CMAKE_BINARY_DIR}/share/man)
set(man_pages)
function(keld_help_man target name section summary)
  set(page ${man_dir}/man${section}/${name}.${section})
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}/man${section}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/man/make_man.py $<TARGET_FILE:${target}>
            ${name} ${section} ${summary} ${CMAKE_CURRENT_SOURCE_DIR}/man/${name}.roff ${page} ${ARGN}
    COMMAND ${KELD_GZIP} -9nf ${page}
    DEPENDS ${target} man/make_man.py man/${name}.roff VERBATIM)
  set(man_pages ${man_pages} ${page}.gz PARENT_SCOPE)
  install(FILES ${page}.gz DESTINATION share/man/man${section})
endfunction()
keld_help_man(axcfg axcfg 1 "edit, check and transfer positioning unit setting files" --commands)
keld_help_man(plcsim plcsim 1 "simulated PLC with one positioning unit")
keld_help_man(tavrequest tavrequest 1 "send requests to a COM port's connection server")
set(mgr ${man_dir}/man8/KELD_TAVMGR.8)
add_custom_command(OUTPUT ${mgr}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}/man8
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/man/KELD_TAVMGR.8.in ${mgr}
  COMMAND ${KELD_GZIP} -9nf ${mgr}
  DEPENDS man/KELD_TAVMGR.8.in VERBATIM)
list(APPEND man_pages ${mgr}.gz)
install(FILES ${mgr}.gz DESTINATION share/man/man8)
add_custom_target(keld_man_pages ALL DEPENDS ${man_pages})

install(FILES completion/axcfg DESTINATION share/bash-completion/completions)

if(KELD_BUILD_TESTS)
  add_test(NAME man_pages COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/tests/man_pages_test.py
           $<TARGET_FILE:axcfg> ${man_dir}/man1/axcfg.1.gz $<TARGET_FILE:plcsim> ${man_dir}/man1/plcsim.1.gz
           $<TARGET_FILE:tavrequest> ${man_dir}/man1/tavrequest.1.gz)
  set_tests_properties(man_pages PROPERTIES LABELS docs)
endif()
if(KELD_BUILD_TESTS)
  add_test(NAME axcfg_completion COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/completion_test.sh
           $<TARGET_FILE_DIR:axcfg> ${CMAKE_CURRENT_SOURCE_DIR}/completion/axcfg)
  set_tests_properties(axcfg_completion PROPERTIES LABELS docs)
endif()
