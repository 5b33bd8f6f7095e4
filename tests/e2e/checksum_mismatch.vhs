# A wrong archived checksum: only the first mismatch is reported, and the wizard goes back to
# the floppy drive step. A file missing from its diskette shows Actual 1.
#> set bad id=5 a.dat=100@1 b.dat=200@1~ c.dat=300@1~
#> set gone id=5 a.dat=100@1 b.dat=200@1 c.dat=300@1
#> sh rm gone/disk1/c.dat
#> mkdir @WORK@/c
drive a: removable @WORK@/bad/disk1
drive c: fixed @WORK@/c
temp C:\Temp
start
select a:
ok
ok
state
insert a: @WORK@/gone/disk1
ok
ok
#> expect {"event":"status","text":"Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."}
#> expect {"event":"log","text":"ERROR Wrong checksum at C:\\Temp\\VELT_disk1\\b.dat\r\nActual 3749917935 archived 3749917936"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong checksum at C:\\Temp\\VELT_disk1\\b.dat\r\nActual 3749917935 archived 3749917936","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect-text "buttonBack":false,
#> expect-text "progress":{"min":0,"max":100,"value":0,"visible":false}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong checksum at C:\\Temp\\VELT_disk1\\c.dat\r\nActual 1 archived 1577926702","answer":"ok"}
#> absent-text Wrong checksum at C:\\Temp\\VELT_disk1\\c.dat\r\nActual 1577926702
#> absent-text Recombining
