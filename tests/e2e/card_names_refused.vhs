# Names a FAT card cannot hold distinctly, on a diskette beside the set's files: a device name,
# a trailing blank, a trailing dot beside the same name without it, and two names that differ
# only in the case of an accented letter. Each diskette is refused naming the file and the
# reason, and the wizard starts again from the floppy drive; nothing reaches the card.
#> set s id=812 keycode.rec=s:abc@1 db/a.dat=100@1
#> sh for n in 1 2 3 4; do cp -r s/disk1 d$n; done && printf x > d1/db/CON && printf x > 'd2/db/cfg ' && printf x > d3/db/cfg. && printf x > d3/db/cfg
#> sh printf x > d4/db/$(printf '\303\211').dat && printf y > d4/db/$(printf '\303\251').dat
#> mkdir @WORK@/c @WORK@/e/backup/single
#> sh echo old > e/backup/single/old.dat && cp -r e/backup/single before
drive a: removable @WORK@/d1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/d2
ok
ok
insert a: @WORK@/d3
ok
ok
insert a: @WORK@/d4
ok
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"The Compact Flash card cannot hold A:\\db\\CON\r\nThe name is a device name.","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"The Compact Flash card cannot hold A:\\db\\cfg \r\nThe name ends in a dot or a blank.","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"The Compact Flash card cannot hold A:\\db\\cfg.\r\nThe name ends in a dot or a blank.","answer":"ok"}
#> expect-text Names differ only in letter case: A:\\db\\
#> expect-text "wizardStep":0,
#> absent-text Successful database convert
#> absent-text Recombining
#> same @WORK@/e/backup/single @WORK@/before
