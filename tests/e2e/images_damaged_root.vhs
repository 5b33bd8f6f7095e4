# Diskette images whose root folder is damaged: a name holding "/", a name holding a control
# character, and a sub-folder entry that points at the root. The drive is described as one whose
# volume cannot be read, at start and when the image is put in later; reading it reports the
# damage, and the program goes on.
#> mkdir @WORK@/c @WORK@/e
#> sh for n in 1 2 3; do cp @E2E@/../../samples/site42/images/disk1.img bad$n.img; done
#> sh printf '/' | dd of=bad1.img bs=1 seek=$((19*512+32)) conv=notrunc 2>/dev/null
#> sh printf '\001' | dd of=bad2.img bs=1 seek=$((19*512+33)) conv=notrunc 2>/dev/null
#> sh printf 'LOOP       \020' | dd of=bad3.img bs=1 seek=$((19*512+64)) conv=notrunc 2>/dev/null && printf '\000\000' | dd of=bad3.img bs=1 seek=$((19*512+64+26)) conv=notrunc 2>/dev/null
drive a: removable @WORK@/bad1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
state
ok
ok
insert a: @WORK@/bad2.img
select a:
ok
insert a: @WORK@/bad3.img
ok
state
#> expect-text "driveSize":{"caption":"Removable Drive A: - ",
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect-text Diskette image damaged:
#> expect-text "title":"Error!"
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect-text Diskette image damaged:
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect-text "title":"Error!"
#> expect-text "wizardStep":1,
#> absent-text is not available
#> absent-text Successful database convert
