# One line per test: unit_test(NAME ...).
