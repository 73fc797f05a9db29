# One line per test: unit_test(NAME ...).
unit_test(test_tga vxe_video)
