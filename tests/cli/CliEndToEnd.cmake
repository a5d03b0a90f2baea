# Runs the real grx1-cli binary: writes a sample project file, reads its tables back, exports WAV
# files of one impact, and checks that a damaged file and a wrong option end with exit code 2 and
# one line on stderr.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${CLI}" sample -o "${WORK}/s.grx" --impacts 30 RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "sample failed: ${rc}")
endif()

execute_process(COMMAND "${CLI}" series "${WORK}/s.grx" --lang ru RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Дин.модуль" OR NOT out MATCHES "\t")
  message(FATAL_ERROR "series failed: ${rc}\n${out}")
endif()

execute_process(COMMAND "${CLI}" impacts "${WORK}/s.grx" --series 0 RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "1-st impact")
  message(FATAL_ERROR "impacts failed: ${rc}\n${out}")
endif()

file(WRITE "${WORK}/bad.grx" "GRX-1.0")
execute_process(COMMAND "${CLI}" series "${WORK}/bad.grx" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err STREQUAL "File is not readable or damaged: bad.grx\n" OR NOT out STREQUAL "")
  message(FATAL_ERROR "damaged file: rc=${rc} err=${err} out=${out}")
endif()

# Exports: the all-signals WAV files of the first impact in the full view, then a refused signal.
execute_process(COMMAND "${CLI}" wav "${WORK}/s.grx" --series 0 --signal all --view full -o "${WORK}/wav"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
file(GLOB wavs "${WORK}/wav/*.wav")
list(LENGTH wavs count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 4)
  message(FATAL_ERROR "wav all failed: rc=${rc} files=${count} err=${err}")
endif()
execute_process(COMMAND "${CLI}" csv "${WORK}/s.grx" --series 0 --signal q -o "${WORK}/q.csv"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err STREQUAL "--signal takes a, v, s, f or all, not \"q\"\n" OR EXISTS "${WORK}/q.csv")
  message(FATAL_ERROR "bad signal: rc=${rc} err=${err}")
endif()

# The compaction control runs on the report's GUI application: every sample point under 1000 MPa.
execute_process(COMMAND "${CLI}" control "${WORK}/s.grx" --require-dyn 1000 --format json
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out MATCHES "\"verdict\": \"fail\"" OR NOT err STREQUAL "")
  message(FATAL_ERROR "control failed: rc=${rc} err=${err}")
endif()
