# The source lists that more than one build compiles: the product's
# CMakeLists.txt and the fuzz targets' fuzz/CMakeLists.txt. Absolute paths,
# so either may include this file.
get_filename_component(datora_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# The leaf values every layer shares, the platform included: the tick
# scale and the fixed texts.
set(DATORA_BASE_SOURCES
  ${datora_root}/base/messages.cpp
  ${datora_root}/base/time_value.cpp)

# The platform-independent core: run driver, grammar, report and time
# arithmetic.
set(DATORA_CORE_SOURCES
  ${datora_root}/app/run_driver.cpp
  ${datora_root}/cli/grammar.cpp
  ${datora_root}/report/debug_report.cpp
  ${datora_root}/timing/compare.cpp
  ${datora_root}/timing/fixed_moment.cpp
  ${datora_root}/timing/operand_value.cpp
  ${datora_root}/timing/reference_time.cpp
  ${datora_root}/timing/set_decision.cpp
  ${datora_root}/timing/set_operand.cpp
  ${datora_root}/timing/stamp_lookup.cpp)

# The Windows rules for parameters and names, pure code: linked into the
# Windows build, the native unit tests and the fuzz targets.
set(DATORA_WINDOWS_RULES_SOURCES
  ${datora_root}/platform/command_line.cpp
  ${datora_root}/platform/windows_names.cpp
  ${datora_root}/platform/windows_zone_offset.cpp)
