# One line per test: e2e_test(NAME).
e2e_test(window)
e2e_test(options)
e2e_test(corepack_roundtrip)
e2e_test(chip8run)
e2e_test(archive_check)
