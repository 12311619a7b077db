# Network, pump and component files written by tests/tools/write_vme.py, a writer
# that works from the byte layout alone. Tests load them; the fuzzer starts from them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VELMORA_SAMPLE_WRITER ${PROJECT_SOURCE_DIR}/tests/tools/write_vme.py)
set(VELMORA_SAMPLE_FILES empty.vme sample.vme sample_v110.vme pump.vmpm component.vmco)

# velmora_generate_sample_files(TARGET OUTPUT_DIR): a target that writes every sample
# into OUTPUT_DIR whenever the writer changes.
function(velmora_generate_sample_files target output_dir)
  set(outputs "")
  foreach(file IN LISTS VELMORA_SAMPLE_FILES)
    list(APPEND outputs ${output_dir}/${file})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND Python3::Interpreter ${VELMORA_SAMPLE_WRITER} ${output_dir}
    DEPENDS ${VELMORA_SAMPLE_WRITER}
    COMMENT "Writing sample network files into ${output_dir}")
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()
