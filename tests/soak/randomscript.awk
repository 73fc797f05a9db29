# Writes a random input script for a long capture: clicks on every control
# of the copier, menu rows, clicks anywhere on the screen and far off it,
# and keys held for a while, one after another from the end of the boot.
# Never QUIT or Escape, which would end the show.
#   awk -v minutes=30 -v seed=1 -f randomscript.awk
BEGIN {
    srand(seed + 0)
    last = minutes * 4000  # 15 ms frames
    # Centres of the copier's controls (the QUIT button left out).
    split("28,49 68,49 50,67 197,67 291,67 102,58 110,58 126,58 145,58 153,58 169,58 " \
          "232,58 240,58 248,58 256,58 102,73 110,73 145,73 153,73 232,73 240,73 248,73 " \
          "256,73 31,85 74,85 117,85 160,85 203,85 246,85", controls, " ")
    ncontrols = length(controls)
    split("up down left right space return tab a s z x q 1 2 5 9 shift control", keys, " ")
    nkeys = length(keys)
    print "# random soak input, seed " seed ", " minutes " virtual minutes"
    f = 890
    while (f < last) {
        r = rand()
        if (r < 0.40) {
            split(controls[1 + int(rand() * ncontrols)], p, ",")
            click(p[1], p[2])
        } else if (r < 0.55) {
            # A menu and one of its rows.
            menu = rand() < 0.5
            click(menu ? 28 : 68, 49)
            f += 5 + int(rand() * 30)
            click(menu ? 50 : 90, 64 + 8 * int(rand() * (menu ? 13 : 5)))
        } else if (r < 0.70) {
            do { x = int(rand() * 320); y = int(rand() * 200) } while (x >= 266 && x <= 312 && y >= 78 && y <= 93)
            click(x, y)
        } else if (r < 0.80) {
            x = int(rand() * 6000) - 3000; y = int(rand() * 6000) - 3000
            if (x >= 0 && x < 320) x += 400
            click(x, y)
        } else {
            k = keys[1 + int(rand() * nkeys)]
            printf "f%d keydown %s\n", f, k
            f += 1 + int(rand() * 120)
            printf "f%d keyup %s\n", f, k
        }
        f += 10 + int(rand() * 150)
    }
}

function click(x, y) {
    printf "f%d move %d %d\n", f, x, y
    printf "f%d press\n", f + 1
    f += 2 + int(rand() * 6)
    printf "f%d release\n", f
}
