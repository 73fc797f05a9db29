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
