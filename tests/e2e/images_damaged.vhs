# A diskette image whose boot sector lost its signature: the drive holds a diskette, and reading
# it reports the damage in the reader's own way; the wizard waits for diskette 1 again.
#> mkdir @WORK@/c @WORK@/e
#> sh cp @E2E@/../../samples/site42/images/disk1.img broken.img && printf '\0\0' | dd of=broken.img bs=1 seek=510 conv=notrunc 2>/dev/null
drive a: removable @WORK@/broken.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect-text Diskette image damaged: the boot sector lacks its 55 AA signature
#> expect-text "title":"Error!"
#> expect-text "wizardStep":1
