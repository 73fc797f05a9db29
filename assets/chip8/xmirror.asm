; XMIRROR - a mirror sketch pad. The cursor keys move a pen one block at a
; time and it leaves a trail; the same trail appears mirrored left to
; right about the middle of the visible window (picture columns 12-55, so
; column x mirrors to 67 - x). Space clears the pad. The pen blinks while
; it stands still.
;
; A pen dot is 1 pixel wide and 2 rows tall: one whole block on the map.

XMIN = 12
XMAX = 55
YMAX = 30
MIRROR = 67
STEP_TICKS = 2      ; timer ticks per pen step while a key is held
BLINK_STEPS = 6     ; idle steps between blinks

KEY_UP = 2
KEY_LEFT = 4
KEY_SPACE = 5
KEY_RIGHT = 6
KEY_DOWN = 8

; v0, v1 pen; v4, v5 pen before the step; v8 1 while the pen is blinked
; off; v9 idle steps since the last blink.
        cls
        ld v0, 21
        ld v1, 14
        call plot

main:   ld v6, dt
        se v6, 0
        jp main
        ld v6, STEP_TICKS
        ld dt, v6

        ld v2, KEY_SPACE
        skp v2
        jp keys
        cls
        ld v8, 0
        call plot
        jp main

keys:   ld v4, v0
        ld v5, v1
        ld v2, KEY_LEFT
        sknp v2
        call left
        ld v2, KEY_RIGHT
        sknp v2
        call right
        ld v2, KEY_UP
        sknp v2
        call up
        ld v2, KEY_DOWN
        sknp v2
        call down
        se v4, v0
        jp moved
        se v5, v1
        jp moved

        add v9, 1           ; standing still: blink now and then
        se v9, BLINK_STEPS
        jp main
        ld v9, 0
        call blink
        jp main

moved:  se v8, 0
        call blink          ; show the old place lit again
        call plot
        ld v9, 0
        jp main

left:   se v0, XMIN
        add v0, -1
        ret
right:  se v0, XMAX
        add v0, 1
        ret
up:     se v1, 0
        add v1, -2
        ret
down:   se v1, YMAX
        add v1, 2
        ret

; Lights the pen dot and its mirror; a dot already lit stays lit.
plot:   ld i, dot
        drw v0, v1, 2
        se vf, 0
        drw v0, v1, 2
        ld v3, MIRROR
        sub v3, v0
        drw v3, v1, 2
        se vf, 0
        drw v3, v1, 2
        ret

; Toggles the dots at the place the pen had before this step (v4, v5).
blink:  ld i, dot
        drw v4, v5, 2
        ld v3, MIRROR
        sub v3, v4
        drw v3, v5, 2
        ld v6, 1
        xor v8, v6
        ret

dot:    row #
        row #
