foo v1
ld v1, 256
x: x:
row ##x
  ld v1, (((1
vf = 2
ld v0, 1/0
db ,
