# One line per target: fuzz_target(NAME LIBS...).
fuzz_target(fuzz_tga vxe_video)
fuzz_target(fuzz_wav vxe_sound)
fuzz_target(fuzz_archive vxe_corefile)
fuzz_target(fuzz_c8asm c8asm_core floxa_chip8)
fuzz_target(fuzz_chip8 floxa_chip8)
fuzz_target(fuzz_fontmarkers vxe_video)
fuzz_target(fuzz_dirmount vxe_corefile)
