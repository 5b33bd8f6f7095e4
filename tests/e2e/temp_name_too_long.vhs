# A name the card holds (130 accented letters, 134 UTF-16 units) but the temporary folder does
# not (260 bytes in UTF-8, over the 255 of a Linux file name): reported as that, not as free
# space or an unreadable diskette.
#> set s id=812 a.dat=s:abc@1
#> mkdir @WORK@/c
#> sh export PATH=$PATH:/sbin:/usr/sbin MTOOLS_SKIP_CHECK=1 LC_ALL=C.UTF-8 && mkfs.fat -C disk1.img 1440 >/dev/null && mcopy -i disk1.img -s s/disk1/* ::/ && printf x > x && mcopy -i disk1.img x "::/$(printf 'é%.0s' $(seq 130)).dat"
drive a: removable @WORK@/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
#> expect-text "text":"Can not copy file A:\\
#> expect-text \r\nThe folder on drive C:\\ cannot hold a file of this name","answer":"ok"}
#> absent-text free space
