; MAZE - an endless maze of random diagonal strokes.
;
; Tiles are 4 pixels wide and 8 rows tall, which the block map shows as
; 4x4 blocks, so a stroke is a clean diagonal there. Ten tile columns fill
; the visible picture columns 12-31 and 36-55, four tile rows the height.
; Once the maze is laid, random tiles keep turning over, for ever.

TILE_H = 8
FILL_TICKS = 1      ; timer ticks per tile while laying the maze
TURN_TICKS = 3      ; timer ticks per turned tile afterwards

        cls
        ld v1, 0            ; tile row y
layrow: ld v3, 0            ; tile column 0-9
laytile:
        call tilex
        rnd v4, 1
        ld i, falling
        se v4, 0
        ld i, rising
        drw v0, v1, TILE_H
        ld v6, FILL_TICKS
        call pause
        add v3, 1
        se v3, 10
        jp laytile
        add v1, TILE_H
        se v1, 32
        jp layrow

; Drawing both strokes over a tile turns it from one into the other.
turn:   rnd v3, 15
        ld v5, v3
        ld v6, 10
        sub v5, v6          ; VF = 1 when column >= 10: draw again
        se vf, 0
        jp turn
        rnd v1, 0x18        ; row 0, 8, 16 or 24
        call tilex
        ld i, falling
        drw v0, v1, TILE_H
        ld i, rising
        drw v0, v1, TILE_H
        ld v6, TURN_TICKS
        call pause
        jp turn

; v0 = picture x of tile column v3, stepping over the hidden columns 32-35.
tilex:  ld v0, v3
        shl v0
        shl v0
        add v0, 12
        ld v5, v3
        ld v6, 5
        sub v5, v6          ; VF = 1 for the right-hand five
        se vf, 0
        add v0, 4
        ret

; Waits v6 timer ticks.
pause:  ld dt, v6
wait:   ld v6, dt
        se v6, 0
        jp wait
        ret

falling:
        row #...
        row #...
        row .#..
        row .#..
        row ..#.
        row ..#.
        row ...#
        row ...#
rising:
        row ...#
        row ...#
        row ..#.
        row ..#.
        row .#..
        row .#..
        row #...
        row #...
