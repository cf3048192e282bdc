# SPDX-License-Identifier: GPL-3.0-or-later
# installbench: how long finding the installed clients takes in a home that holds
# every client of the table and a Steam library of 50 games.
add_executable(installbench ${CMAKE_CURRENT_LIST_DIR}/installbench.cpp)
target_link_libraries(installbench PRIVATE installations)
set_target_properties(installbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchmarks)
# The fake homes are made by the same builder as the tests'.
target_include_directories(installbench PRIVATE ${PROJECT_SOURCE_DIR}/tests/installations)
