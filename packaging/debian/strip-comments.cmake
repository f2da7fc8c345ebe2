# Run by cpack on the staged files, before it splits off the debug symbols:
# drops the compiler's identification from the programs, as dh_strip does.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND objcopy --remove-section=.comment "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
