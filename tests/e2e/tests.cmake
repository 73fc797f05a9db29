# The end-to-end tests' eyes: the copier's own pixels out of window grabs
# and captured frames, whatever the camera's zoom; ImageMagick does the rest.
add_executable(unwarp e2e/unwarp.cpp ${PROJECT_SOURCE_DIR}/app/monitor/crtgeometry.cpp
  ${PROJECT_SOURCE_DIR}/engine/capture/pngframe.cpp)
target_include_directories(unwarp PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(unwarp PRIVATE PNG::PNG)

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
set_tests_properties(e2e.capture_determinism e2e.capture_faults PROPERTIES RESOURCE_LOCK capture)

# One scripted capture of the whole show checked frame by frame and in its
# WAV; the capture keeps a core busy for about three minutes, and four
# times as long on a machine loaded with other builds.
e2e_test(capture_tour)
set_tests_properties(e2e.capture_tour PROPERTIES TIMEOUT 1800 RESOURCE_LOCK capture)

# The showreel a newcomer records with scripts/run.sh and no display (only
# in the project's own build folder, skipped elsewhere) and a full-HD
# capture; the showreel keeps a core busy for about 17 minutes.
e2e_test(showreel)
set_tests_properties(e2e.showreel PROPERTIES TIMEOUT 2400 RESOURCE_LOCK capture SKIP_RETURN_CODE 77)
