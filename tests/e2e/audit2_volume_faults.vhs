# Diskette 2's volume file as it can go wrong: empty (it cannot be read: no prefix, and the
# status asks for the diskette again), then a first line too short to hold an Archive ID (a wrong Archive ID with nothing
# found), and last the right diskette with its ID written with leading zeros. The descriptor
# counts its diskettes with a leading zero as well.
#> set s id=900 a.dat=s:abcdefg@1-2
#> mkdir @WORK@/c @WORK@/empty @WORK@/short @WORK@/zeros
#> sh sed -i 's/^NUMDISKS: 2$/NUMDISKS: 02/' s/disk1/archive.dat
#> sh cp -r s/disk2/. empty/ && : > empty/disk0002.dat
#> sh cp -r s/disk2/. short/ && printf 'SHORT LINE\n' > short/disk0002.dat
#> sh cp -r s/disk2/. zeros/ && printf 'VELT ARCHIVE ID: 000900\r\nVOLUME 2\r\n' > zeros/disk0002.dat
drive a: removable @WORK@/s/disk1
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/empty
ok
state
insert a: @WORK@/short
ok
state
insert a: @WORK@/s/disk1
ok
ok
insert a: @WORK@/zeros
ok
state
#> expect {"event":"log","text":"\r\nArchive ID = 900\r\nTotal diskettes num = 2"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"log","text":"Failed to open A:\\disk0002.dat"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed to open A:\\disk0002.dat","answer":"ok"}
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect-text "wizardStep":2,"currentDisk":2,
#> expect-text "mainText":"Please insert diskette #2 and press the OK button\r\n"
#> expect {"event":"log","text":"ERROR \r\nWrong Archive ID at diskette #2\r\nExpected 900 found "}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nWrong Archive ID at diskette #2\r\nExpected 900 found ","answer":"ok"}
#> expect {"event":"status","text":"Please press the OK button\r\nto read the set again from diskette #1"}
#> expect-text "wizardStep":0,"currentDisk":2,
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."}
#> expect {"event":"log","text":"append C:\\Temp\\VELT_disk2\\a.dat to C:\\Temp\\VELT_flat\\a.dat"}
#> expect-text "wizardStep":3,"currentDisk":2,
#> absent-text "Failed to open A:\\disk0001.dat
#> absent {"event":"log","text":"ERROR Failed to open A:\\disk0002.dat"}
#> missing @WORK@/c/Temp/VELT_disk2/disk0002.dat
#> check test -f c/Temp/VELT_disk1/disk0001.dat
