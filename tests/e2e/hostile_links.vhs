# Symbolic links on a diskette are no entries of it, wherever they point: a linked archive.dat
# refuses diskette 1 as one without its descriptor; a linked data file is not copied, so its
# checksum fails and nothing is rebuilt.
#> set s id=812 keycode.rec=s:abc@1 db/a.dat=100@1
#> mkdir @WORK@/c @WORK@/e @WORK@/host @WORK@/linked
#> sh cp -r s/disk1/. linked/ && mv linked/archive.dat host/ && ln -s @WORK@/host/archive.dat linked/archive.dat
#> sh mv s/disk1/db/a.dat host/ && ln -s @WORK@/host/a.dat s/disk1/db/a.dat
drive a: removable @WORK@/linked
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/s/disk1
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"A:\\archive.dat File not found\r\nInsert diskette #1","answer":"ok"}
#> expect {"event":"log","text":"\r\nArchive ID = 812\r\nTotal diskettes num = 1"}
#> expect-text "text":"Wrong checksum at C:\\Temp\\VELT_disk1\\db\\a.dat\r\nActual 1 archived
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,
#> absent-text Recombining
#> missing @WORK@/c/Temp/VELT_disk1/db/a.dat
