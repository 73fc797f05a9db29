# The end-to-end tests' eyes: grabs the window and finds the copier in it.
find_package(X11 REQUIRED)
add_executable(screenprobe e2e/screenprobe.cpp)
target_link_libraries(screenprobe PRIVATE floxa_app PNG::PNG X11::X11)

# One line per test: e2e_test(NAME).
e2e_test(window)
e2e_test(options)
e2e_test(corepack_roundtrip)
e2e_test(chip8run)
e2e_test(archive_check)
e2e_test(show)
e2e_test(faults)
e2e_test(parts)
e2e_test(script)
# Captures keep a core busy for minutes: one at a time.
e2e_test(capture_determinism)
e2e_test(capture_faults)
e2e_test(run_nodisplay)
set_tests_properties(e2e.capture_determinism e2e.capture_faults e2e.run_nodisplay PROPERTIES RESOURCE_LOCK capture)

# The capture tour's eyes: reads boxes of captured PNG frames in copier
# pixels, whatever the camera's zoom, and compares them with references.
add_executable(pngcompare e2e/pngcompare.cpp ${PROJECT_SOURCE_DIR}/app/monitor/crtgeometry.cpp)
target_include_directories(pngcompare PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(pngcompare PRIVATE PNG::PNG)

# One scripted capture of the whole show checked frame by frame and in its
# WAV; the capture keeps a core busy for about three minutes.
e2e_test(capture_tour)
set_tests_properties(e2e.capture_tour PROPERTIES TIMEOUT 900 RESOURCE_LOCK capture)
