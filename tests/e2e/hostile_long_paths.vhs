# A diskette tree whose paths are longer than the host takes in one call (20 folders of 250
# characters below each other): copied, rebuilt, written to the card and removed whole.
#> set s id=812 keycode.rec=s:abc@1
#> mkdir @WORK@/c @WORK@/e
#> sh cd s/disk1 && for i in $(seq -w 1 20); do n=d$i$(printf 'x%.0s' $(seq 247)); mkdir $n && cd $n || exit 1; done 2>/dev/null; printf bottom > deep.dat
drive a: removable @WORK@/s/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
ok
exit
#> expect {"event":"status","text":"Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit"}
#> expect {"event":"end"}
#> absent-text "event":"msgbox"
#> check cd e/backup/single 2>/dev/null && for i in $(seq -w 1 20); do cd d$i* 2>/dev/null || exit 1; done; test "$(cat deep.dat)" = bottom
#> missing @WORK@/c/Temp/VELT_disk1
#> missing @WORK@/c/Temp/VELT_flat
