; IBM LOGO - the three letters in horizontal stripes, drawn in from the top.
;
; Only picture columns 12-55 reach the block map (32-35 fall into the gap
; between the two maps) and each pair of rows makes one block row, so every
; stripe covers a whole row pair: "IB" fills the left map, "M" the right.

TOP    = 4          ; picture row of the first stripe
LEFT   = 12         ; x of the first 8-pixel strip
RIGHT  = 60         ; x just past the last strip
PAUSE  = 3          ; timer ticks between stripes

        cls
        ld v2, 0            ; stripe 0-5
        ld v1, TOP          ; its picture row
stripe: ld v0, LEFT
        ld v5, v2           ; offset of this stripe in a strip: strip * 6 + stripe
strip:  ld i, strips
        add i, v5
        drw v0, v1, 1       ; a stripe is one byte drawn on both rows of its pair
        add v1, 1
        drw v0, v1, 1
        add v1, -1
        add v0, 8
        add v5, 6
        se v0, RIGHT
        jp strip

        ld v6, PAUSE
        ld dt, v6
wait:   ld v6, dt
        se v6, 0
        jp wait

        add v1, 4
        add v2, 1
        se v2, 6
        jp stripe
done:   jp done

; Six 8-pixel strips side by side, one byte per stripe.
strips:
        row .######.        ; x 12-19
        row ..####..
        row ..####..
        row ..####..
        row ..####..
        row .######.

        row .#######        ; x 20-27
        row .###....
        row .#######
        row .###....
        row .###....
        row .#######

        row ##......        ; x 28-35
        row ###.....
        row #.......
        row ###.....
        row ###.....
        row ##......

        row ...#####        ; x 36-43
        row ...#####
        row ...###.#
        row ...###..
        row ...###..
        row ...####.

        row ....####        ; x 44-51
        row #..#####
        row #####.##
        row ####..##
        row .##...##
        row .....###

        row #.......        ; x 52-59
        row #.......
        row #.......
        row #.......
        row #.......
        row #.......
