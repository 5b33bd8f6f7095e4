# An unknown command: what came before it ran, the error names its line, nothing after it runs.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
press ok
state
#> exit 2
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"error","line":7,"text":"unknown command \"press\""}
#> absent-text "event":"state"
