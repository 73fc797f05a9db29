; ZERODEMO - four sprites bouncing off the edges of the visible window.
;
; The window is picture columns 12-55 by rows 0-31. Each sprite is 8 wide
; and 12 rows tall (8x6 blocks on the map) and moves one step per timer
; tick; odd rows put a sprite half a block down, which the map shows in
; the half-lit colour. Each one is erased and redrawn in turn, so at most
; one sprite is ever missing from a picture.

XMIN = 12
XMAX = 48           ; 48 + 8 = 56, the first column past the window
YMIN = 0
YMAX = 20           ; 20 + 12 = 32
HEIGHT = 12
COUNT = 4

        cls
        ld v7, 0            ; sprite number
        ld v4, 0            ; its offset in the state table (4 bytes each)
        ld v5, 0            ; its offset in the picture table (12 bytes each)
first:  call fetch
        drw v0, v1, HEIGHT
        call advance
        se v7, COUNT
        jp first

move:   ld v7, 0
        ld v4, 0
        ld v5, 0
next:   call fetch
        drw v0, v1, HEIGHT  ; erase
        add v0, v2
        sne v0, XMIN
        call bouncex
        sne v0, XMAX
        call bouncex
        add v1, v3
        sne v1, YMIN
        call bouncey
        sne v1, YMAX
        call bouncey
        drw v0, v1, HEIGHT  ; I still holds the picture
        ld i, state
        add i, v4
        ld [i], v3          ; store x, y, dx, dy
        call advance
        se v7, COUNT
        jp next

        ld v6, 1
        ld dt, v6
tick:   ld v6, dt
        se v6, 0
        jp tick
        jp move

; v0-v3 = x, y, dx, dy of sprite v7; I = its picture.
fetch:  ld i, state
        add i, v4
        ld v3, [i]
        ld i, pictures
        add i, v5
        ret

advance:
        add v7, 1
        add v4, 4
        add v5, HEIGHT
        ret

bouncex:
        ld v6, 0
        subn v2, v6         ; dx = 0 - dx
        ret

bouncey:
        ld v6, 0
        subn v3, v6
        ret

; x, y, dx, dy. A sprite stepping 2 starts on an even place so that it
; meets the edges exactly.
state:  db 12, 0, 1, 1      ; ball
        db 30, 9, -1, -1    ; heart
        db 40, 6, 1, 2      ; diamond
        db 20, 15, 2, -1    ; ring

pictures:
        row ..####..        ; ball
        row ..####..
        row .######.
        row .######.
        row ########
        row ########
        row ########
        row ########
        row .######.
        row .######.
        row ..####..
        row ..####..

        row .##..##.        ; heart
        row .##..##.
        row ########
        row ########
        row ########
        row ########
        row .######.
        row .######.
        row ..####..
        row ..####..
        row ...##...
        row ...##...

        row ...##...        ; diamond
        row ...##...
        row ..####..
        row ..####..
        row .######.
        row .######.
        row .######.
        row .######.
        row ..####..
        row ..####..
        row ...##...
        row ...##...

        row .######.        ; ring
        row .######.
        row ##....##
        row ##....##
        row ##....##
        row ##....##
        row ##....##
        row ##....##
        row ##....##
        row ##....##
        row .######.
        row .######.
