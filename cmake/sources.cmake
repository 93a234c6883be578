# The source lists of every build: the product's CMakeLists.txt, the unit
# tests' tests/CMakeLists.txt and the fuzz targets' fuzz/CMakeLists.txt.
# Absolute paths, so any of them may include this file.
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
  ${datora_root}/platform/windows_directory_records.cpp
  ${datora_root}/platform/windows_names.cpp
  ${datora_root}/platform/windows_zone_offset.cpp)

# Each system's layer behind platform/platform.h.
set(DATORA_LINUX_PLATFORM_SOURCES
  ${datora_root}/platform/platform_linux.cpp
  ${datora_root}/platform/utf8_text.cpp
  ${datora_root}/platform/zone_setting.cpp)
set(DATORA_WIN32_PLATFORM_SOURCES
  ${datora_root}/platform/platform_win32.cpp)

# The fake platform: the unit tests and the fuzz targets run on it.
set(DATORA_FAKE_PLATFORM_SOURCES
  ${datora_root}/platform/fake_platform.cpp)

# The unit tests, one GoogleTest binary.
set(DATORA_UNIT_TEST_SOURCES
  ${datora_root}/app/run_driver_test.cpp
  ${datora_root}/base/time_value_test.cpp
  ${datora_root}/cli/grammar_test.cpp
  ${datora_root}/platform/command_line_test.cpp
  ${datora_root}/platform/entry_stamps_test.cpp
  ${datora_root}/platform/utf8_text_test.cpp
  ${datora_root}/platform/windows_directory_records_test.cpp
  ${datora_root}/platform/windows_names_test.cpp
  ${datora_root}/platform/windows_zone_offset_test.cpp
  ${datora_root}/platform/zone_setting_test.cpp
  ${datora_root}/report/debug_report_test.cpp
  ${datora_root}/timing/compare_test.cpp
  ${datora_root}/timing/fixed_moment_test.cpp
  ${datora_root}/timing/reference_time_test.cpp
  ${datora_root}/timing/set_decision_test.cpp
  ${datora_root}/timing/set_operand_test.cpp
  ${datora_root}/timing/stamp_lookup_test.cpp)
