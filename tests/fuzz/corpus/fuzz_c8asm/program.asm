; every statement kind, and a program that draws, calls and waits
N = 3 * (2 + 1) - 1
start:  cls
        ld v0, N
        ld i, sprite + 1
        drw v0, v1, 4
        call sub
        ld f, v0
        drw v0, v0, 15
        ld b, v0
        ld [i], vf
        ld vf, [i]
        ld v2, k
        jp v0, start
sub:    add i, v0
        shr v3
        shl v3, v4
        ret
sprite: row #..#
        row 10011001
        db 1, 0x20, 0b11, -1
        dw 0xFFFF
