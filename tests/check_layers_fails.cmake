# The layer check fails on the made-up tree of tests/layers and names each
# include against the order, and only those.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCES=${FIXTURE} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(result EQUAL 0)
  message(FATAL_ERROR "The layer check passed includes against the order:\n${all}")
endif()
set(expected
    "calculators/upward.h: #include <QString> (Qt in the core)"
    "calculators/upward.h: #include \"amortization/schedule.h\" (calculators may not include amortization)"
    "components/sideways.h: #include \"calculators/loan.h\" (components may not include calculators)"
    "amortization/ui/window.h: #include \"records/loan_records.h\" (amortization/ui may not include records)"
    "amortization/ui/window.h: #include \"records/ui/loan_info_dialog.h\" (amortization/ui may not include records/ui)"
    "app/shell.h: #include \"cli/cli.h\" (app may not include cli)"
    "finance/base.h: #include \"tables/table.h\" (finance may not include tables)")
set(missing "")
foreach(line ${expected})
  string(FIND "${all}" "${line}" at)
  if(at EQUAL -1)
    string(APPEND missing "\n  ${line}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "The layer check did not name:${missing}\nIts output:\n${all}")
endif()
# Includes that follow the order are not named.
foreach(good "finance/items.h\" (" "finance/format.h\" (" "calculators/ui/calc_window.h\" ("
             "records/loan_records.h\" (records/ui" "amortization/ui/amort_window.h\" ("
             "records/ui/loan_info_dialog.h\" (app")
  string(FIND "${all}" "${good}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "The layer check named an include that follows the order (${good}):\n${all}")
  endif()
endforeach()
message(STATUS "The layer check fails on every include against the order")
