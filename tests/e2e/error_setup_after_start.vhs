# A setting-up command after start is a script error at its line.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
drive e: removable -
#> exit 2
#> expect {"event":"log","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"error","line":7,"text":"\"drive\" is a setting-up command and must come before start"}
