# SPDX-License-Identifier: GPL-3.0-or-later
# savebench: QuickSave's extra memory on a large script, and the key store's time
# and memory for one save into a store of 100 000 keys.
add_executable(savebench ${CMAKE_CURRENT_LIST_DIR}/savebench.cpp)
target_link_libraries(savebench PRIVATE glyphsmith_persist)
set_target_properties(savebench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchmarks)
