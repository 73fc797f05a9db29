# One line per test: e2e_test(NAME).
