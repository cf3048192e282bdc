# SPDX-License-Identifier: GPL-3.0-or-later
# Finding and reading a game's font in a 400 MB installation (sparse archives).
add_executable(gamefontbench ${CMAKE_CURRENT_LIST_DIR}/gamefontbench.cpp)
target_link_libraries(gamefontbench PRIVATE gamedata)
set_target_properties(gamefontbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchmarks)
# The archives and pictures are made by the same builders as the readers' tests.
target_include_directories(gamefontbench PRIVATE ${PROJECT_SOURCE_DIR}/tests/gamedata)
