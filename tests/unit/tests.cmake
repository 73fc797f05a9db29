# One line per test: unit_test(NAME ...).
unit_test(test_tga vxe_video)
unit_test(test_video_refresh vxe_video)
unit_test(test_draw2d vxe_video)
unit_test(test_mixer vxe_sound)
unit_test(test_soundsystem vxe_sound)
unit_test(test_wav vxe_sound)
unit_test(test_audiodriver vxe_sound)
unit_test(test_sprite vxe_video)
