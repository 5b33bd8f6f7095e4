# Two names that differ only in letter case on one diskette: a forged ARCHIVE.DAT beside the
# set's archive.dat. No diskette of a set can hold both, and joined they would make the card's
# descriptor: the diskette is refused naming both, and nothing is written.
#> set s id=812 keycode.rec=s:abc@1 db/a.dat=100@1
#> mkdir @WORK@/c @WORK@/e
#> sh printf 'VELT ARCHIVE ID: 812\nNUMDISKS: 1\nFILE: 1 0 1 294 /keycode.rec std\n' > s/disk1/ARCHIVE.DAT
drive a: removable @WORK@/s/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"log","text":"Names differ only in letter case: A:\\ARCHIVE.DAT and A:\\archive.dat\r\nNo diskette of a set holds both. Ensure that the floppy disk is the right one"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Names differ only in letter case: A:\\ARCHIVE.DAT and A:\\archive.dat\r\nNo diskette of a set holds both. Ensure that the floppy disk is the right one","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,
#> absent-text Recombining
#> missing @WORK@/c/Temp/VELT_disk1/ARCHIVE.DAT
