# A descriptor that counts 100 diskettes: the set is read through diskette 99, and asking for
# diskette 100 ends the program at once with "Too many diskettes!", leaving the temporary area
# as it is.
#> set hundred id=1 disks=100 a.dat=64@1 b.dat=8@99
#> mkdir @WORK@/c
drive a: removable @WORK@/hundred/disk1
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/hundred/disk2
ok
insert a: @WORK@/hundred/disk3
ok
insert a: @WORK@/hundred/disk4
ok
insert a: @WORK@/hundred/disk5
ok
insert a: @WORK@/hundred/disk6
ok
insert a: @WORK@/hundred/disk7
ok
insert a: @WORK@/hundred/disk8
ok
insert a: @WORK@/hundred/disk9
ok
insert a: @WORK@/hundred/disk10
ok
insert a: @WORK@/hundred/disk11
ok
insert a: @WORK@/hundred/disk12
ok
insert a: @WORK@/hundred/disk13
ok
insert a: @WORK@/hundred/disk14
ok
insert a: @WORK@/hundred/disk15
ok
insert a: @WORK@/hundred/disk16
ok
insert a: @WORK@/hundred/disk17
ok
insert a: @WORK@/hundred/disk18
ok
insert a: @WORK@/hundred/disk19
ok
insert a: @WORK@/hundred/disk20
ok
insert a: @WORK@/hundred/disk21
ok
insert a: @WORK@/hundred/disk22
ok
insert a: @WORK@/hundred/disk23
ok
insert a: @WORK@/hundred/disk24
ok
insert a: @WORK@/hundred/disk25
ok
insert a: @WORK@/hundred/disk26
ok
insert a: @WORK@/hundred/disk27
ok
insert a: @WORK@/hundred/disk28
ok
insert a: @WORK@/hundred/disk29
ok
insert a: @WORK@/hundred/disk30
ok
insert a: @WORK@/hundred/disk31
ok
insert a: @WORK@/hundred/disk32
ok
insert a: @WORK@/hundred/disk33
ok
insert a: @WORK@/hundred/disk34
ok
insert a: @WORK@/hundred/disk35
ok
insert a: @WORK@/hundred/disk36
ok
insert a: @WORK@/hundred/disk37
ok
insert a: @WORK@/hundred/disk38
ok
insert a: @WORK@/hundred/disk39
ok
insert a: @WORK@/hundred/disk40
ok
insert a: @WORK@/hundred/disk41
ok
insert a: @WORK@/hundred/disk42
ok
insert a: @WORK@/hundred/disk43
ok
insert a: @WORK@/hundred/disk44
ok
insert a: @WORK@/hundred/disk45
ok
insert a: @WORK@/hundred/disk46
ok
insert a: @WORK@/hundred/disk47
ok
insert a: @WORK@/hundred/disk48
ok
insert a: @WORK@/hundred/disk49
ok
insert a: @WORK@/hundred/disk50
ok
insert a: @WORK@/hundred/disk51
ok
insert a: @WORK@/hundred/disk52
ok
insert a: @WORK@/hundred/disk53
ok
insert a: @WORK@/hundred/disk54
ok
insert a: @WORK@/hundred/disk55
ok
insert a: @WORK@/hundred/disk56
ok
insert a: @WORK@/hundred/disk57
ok
insert a: @WORK@/hundred/disk58
ok
insert a: @WORK@/hundred/disk59
ok
insert a: @WORK@/hundred/disk60
ok
insert a: @WORK@/hundred/disk61
ok
insert a: @WORK@/hundred/disk62
ok
insert a: @WORK@/hundred/disk63
ok
insert a: @WORK@/hundred/disk64
ok
insert a: @WORK@/hundred/disk65
ok
insert a: @WORK@/hundred/disk66
ok
insert a: @WORK@/hundred/disk67
ok
insert a: @WORK@/hundred/disk68
ok
insert a: @WORK@/hundred/disk69
ok
insert a: @WORK@/hundred/disk70
ok
insert a: @WORK@/hundred/disk71
ok
insert a: @WORK@/hundred/disk72
ok
insert a: @WORK@/hundred/disk73
ok
insert a: @WORK@/hundred/disk74
ok
insert a: @WORK@/hundred/disk75
ok
insert a: @WORK@/hundred/disk76
ok
insert a: @WORK@/hundred/disk77
ok
insert a: @WORK@/hundred/disk78
ok
insert a: @WORK@/hundred/disk79
ok
insert a: @WORK@/hundred/disk80
ok
insert a: @WORK@/hundred/disk81
ok
insert a: @WORK@/hundred/disk82
ok
insert a: @WORK@/hundred/disk83
ok
insert a: @WORK@/hundred/disk84
ok
insert a: @WORK@/hundred/disk85
ok
insert a: @WORK@/hundred/disk86
ok
insert a: @WORK@/hundred/disk87
ok
insert a: @WORK@/hundred/disk88
ok
insert a: @WORK@/hundred/disk89
ok
insert a: @WORK@/hundred/disk90
ok
insert a: @WORK@/hundred/disk91
ok
insert a: @WORK@/hundred/disk92
ok
insert a: @WORK@/hundred/disk93
ok
insert a: @WORK@/hundred/disk94
ok
insert a: @WORK@/hundred/disk95
ok
insert a: @WORK@/hundred/disk96
ok
insert a: @WORK@/hundred/disk97
ok
insert a: @WORK@/hundred/disk98
ok
insert a: @WORK@/hundred/disk99
ok
insert a: @WORK@/hundred/disk100
ok
state
#> expect {"event":"status","text":"Please insert diskette #99 and press the OK button"}
#> expect {"event":"status","text":"Please insert diskette #100 and press the OK button"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #100"}
#> expect {"event":"log","text":"ERROR Too many diskettes!\r\n"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Too many diskettes!\r\n","answer":"ok"}
#> expect {"event":"end"}
#> absent-text Remove temporary directory
#> absent-text "event":"state"
#> exit 0
