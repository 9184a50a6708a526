# The layers of the tree, from the bottom up. A folder's code may include the headers of its
# own folder and of the folders named after it here, and nothing else of the tree:
#   core <- time, matrix <- packets <- orbit <- toolkit <- run (kova)
# The inputs of a pass (pass/) sit on orbit/ and are read by every program that reads a pass.
# The SPICE kernel writer (spice/) needs only the time tags; kovaexport uses it.
# The dump tools see only the toolkit files' byte layouts (the "toolkit_layout" headers);
# the generator and the further programs stand beside run/ and never include it. Only the
# program folders may stop a run (core/run_stop.h): libraries report through their results.
set(kova_layer_folders core time matrix packets orbit pass toolkit run tools generator spice export report)

set(kova_layer_allows_core "")
set(kova_layer_allows_time core)
set(kova_layer_allows_matrix core)
set(kova_layer_allows_packets core time)
set(kova_layer_allows_orbit core time packets)
set(kova_layer_allows_pass core time packets orbit)
set(kova_layer_allows_toolkit core time matrix packets orbit)
set(kova_layer_allows_run core time matrix packets orbit pass toolkit)
set(kova_layer_allows_tools core time toolkit_layout)
set(kova_layer_allows_generator core time packets orbit)
set(kova_layer_allows_spice core time)
set(kova_layer_allows_export core time matrix packets orbit pass toolkit spice)
set(kova_layer_allows_report core time matrix packets orbit pass toolkit)

# The library each folder builds, and the headers of a folder that form a library of their own.
set(kova_layer_library_core kova_core)
set(kova_layer_library_time kova_time)
set(kova_layer_library_matrix kova_matrix)
set(kova_layer_library_packets kova_packets)
set(kova_layer_library_orbit kova_orbit)
set(kova_layer_library_pass kova_pass)
set(kova_layer_library_toolkit kova_toolkit)
set(kova_layer_library_toolkit_layout kova_toolkit_layout)
set(kova_layer_library_run kova_run)
set(kova_layer_library_tools kova_dump)
set(kova_layer_library_generator kova_generator)
set(kova_layer_library_spice kova_spice)
set(kova_layer_library_export kova_export)
set(kova_layer_library_report kova_report)
set(kova_layer_toolkit_layout_headers toolkit/layout.h toolkit/text_field.h)

# Beside what their folder may include, the tests of a program folder may run kova itself, to
# compare what the program makes with kova's own products.
set(kova_layer_test_allows_export run)
set(kova_layer_test_allows_report run)

set(kova_layer_stopping_header core/run_stop.h)
set(kova_layer_program_folders run tools generator spice export report)
