; TRIP8DEMO - a short looping demo in four scenes: a countdown, shapes
; morphing into each other, a scrolling greeting and flashes between
; them.
;
; Everything is laid out for the visible window of the block map: picture
; columns 12-31 (left map) and 36-55 (right map), rows in pairs.

LEFTX  = 18         ; 8-wide box centred in the left map
RIGHTX = 42         ; and in the right map
DIGITY = 8          ; digits are 14 rows tall
SHAPEY = 8          ; shapes are 16 rows tall
TEXTY  = 10         ; text is 10 rows tall

start:  cls

; ---- countdown: 3, 2, 1, each flashed away
        ld va, 28           ; offset of the 3 in the digit table
count:  call digit
        ld v6, 12
        call pause
        call flash
        call digit          ; erase it
        add va, -14
        se va, -14
        jp count

; ---- morph: ball, diamond, cross and ring turn into each other; the right
; map runs the cycle backwards
        ld vb, 3            ; cycles
cycle:  ld vc, 0            ; shape offset in the shape table (16 bytes each)
        ld vd, 48           ; the right map's shape
grow:   call shapes
        ld v6, 4
        call pause
        call shapes         ; erase
        add vc, 16
        add vd, -16
        se vc, 64
        jp grow
        add vb, -1
        se vb, 0
        jp cycle

; ---- scrolling text. Letters sit at x = scroll + 6n, kept 128 higher in
; ve so that the arithmetic stays unsigned; only letters at x 4-58 are
; drawn, so nothing wraps round to the other side.
        ld ve, 186          ; scroll 58: the first letter enters at the right
scroll: call text
        add ve, -1
        se ve, 97           ; scroll -31: the last letter has left
        jp scroll

        call flash
        call flash
        jp start

; Toggles the digit at offset va of the digit table in both maps.
digit:  ld i, digits
        add i, va
        ld v0, LEFTX + 1
        ld v1, DIGITY
        drw v0, v1, 14
        ld v0, RIGHTX + 1
        drw v0, v1, 14
        ret

; Toggles shape vc in the left map and shape vd in the right, 16 rows each.
shapes: ld v1, SHAPEY
        ld v0, LEFTX
        ld i, shapetable
        add i, vc
        call tall
        ld v0, RIGHTX
        ld i, shapetable
        add i, vd
tall:   drw v0, v1, 8
        ld v2, 8
        add i, v2
        add v1, 8
        drw v0, v1, 8
        add v1, -8
        ret

; Moves the text one column left: each letter is erased at its old place
; and drawn at its new one straight away, so a picture never misses one.
; A letter is drawn only at x 4-58, where nothing wraps round.
text:   ld v7, 0            ; letter number
        ld v8, ve           ; its x + 128 after the move
        ld v1, TEXTY
        ld v4, 55
letter: ld i, message
        add i, v7
        ld v0, [i]
        ld i, font
        add i, v0
        ld v2, v8
        add v2, -123        ; old x - 4 (old x = new x + 1)
        ld v3, v2
        sub v3, v4          ; VF = 1 when out of place (x - 4 >= 55 or negative)
        se vf, 0
        jp new
        add v2, 4
        drw v2, v1, 10
new:    ld v2, v8
        add v2, -124        ; new x - 4
        ld v3, v2
        sub v3, v4
        se vf, 0
        jp nextletter
        add v2, 4
        drw v2, v1, 10
nextletter:
        add v8, 6
        add v7, 1
        se v7, LETTERS
        jp letter
        ret

; Inverts the whole window for a moment.
flash:  call invert
        ld v6, 2
        call pause
invert: ld v1, 0
ibands: ld i, solid
        ld v0, 12
iblock: drw v0, v1, 8
        add v0, 8
        se v0, 52
        jp iblock
        ld i, solidedge     ; x 52-55, the last visible columns
        drw v0, v1, 8
        add v1, 8
        se v1, 32
        jp ibands
        ret

; Waits v6 timer ticks.
pause:  ld dt, v6
wait:   ld v6, dt
        se v6, 0
        jp wait
        ret

solid:  db 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF
solidedge:
        db 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0

; Digits 1-3, 5 wide, each row doubled so that a row is a whole block.
digits:
        row ..#..
        row ..#..
        row .##..
        row .##..
        row ..#..
        row ..#..
        row ..#..
        row ..#..
        row ..#..
        row ..#..
        row ..#..
        row ..#..
        row .###.
        row .###.
        row .###.
        row .###.
        row #...#
        row #...#
        row ....#
        row ....#
        row ..##.
        row ..##.
        row .#...
        row .#...
        row #....
        row #....
        row #####
        row #####
        row #####
        row #####
        row ...#.
        row ...#.
        row ..#..
        row ..#..
        row ...#.
        row ...#.
        row ....#
        row ....#
        row #...#
        row #...#
        row .###.
        row .###.

; Shapes of 8 columns by 16 rows, drawn as two halves of 8 rows.
shapetable:
        row ........        ; ball
        row ........
        row ........
        row ........
        row ........
        row ........
        row ...##...
        row ...##...
        row ...##...
        row ...##...
        row ........
        row ........
        row ........
        row ........
        row ........
        row ........

        row ........        ; diamond
        row ........
        row ...##...
        row ...##...
        row ..#..#..
        row ..#..#..
        row .#....#.
        row .#....#.
        row .#....#.
        row .#....#.
        row ..#..#..
        row ..#..#..
        row ...##...
        row ...##...
        row ........
        row ........

        row #......#        ; cross
        row #......#
        row .#....#.
        row .#....#.
        row ..#..#..
        row ..#..#..
        row ...##...
        row ...##...
        row ...##...
        row ...##...
        row ..#..#..
        row ..#..#..
        row .#....#.
        row .#....#.
        row #......#
        row #......#

        row .######.        ; ring
        row .######.
        row ##....##
        row ##....##
        row #......#
        row #......#
        row #......#
        row #......#
        row #......#
        row #......#
        row #......#
        row #......#
        row ##....##
        row ##....##
        row .######.
        row .######.

; Letters 5 wide, each row doubled so that a row is a whole block.
LETTERS = 5
message:
        db G_F, G_L, G_O, G_X, G_A

font:
G_F = 0
        row #####
        row #####
        row #....
        row #....
        row ####.
        row ####.
        row #....
        row #....
        row #....
        row #....
G_L = 10
        row #....
        row #....
        row #....
        row #....
        row #....
        row #....
        row #....
        row #....
        row #####
        row #####
G_O = 20
        row .###.
        row .###.
        row #...#
        row #...#
        row #...#
        row #...#
        row #...#
        row #...#
        row .###.
        row .###.
G_X = 30
        row #...#
        row #...#
        row .#.#.
        row .#.#.
        row ..#..
        row ..#..
        row .#.#.
        row .#.#.
        row #...#
        row #...#
G_A = 40
        row .###.
        row .###.
        row #...#
        row #...#
        row #####
        row #####
        row #...#
        row #...#
        row #...#
        row #...#
