# Picking a drive that was never defined.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
select e:
#> exit 2
#> expect {"event":"error","line":7,"text":"select: drive e: is not defined"}
