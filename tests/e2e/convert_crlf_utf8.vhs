# A descriptor with CR LF line ends: the card's descriptor ends every line in LF alone, the
# header lines carried over. A temporary folder whose name is not ASCII: the log shows it
# unaltered and the log's selection counts UTF-16 units.
#> set crlf id=64 crlf header=2 extra=tag keycode.rec=s:k@1 x/y.dat=13@1-2
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/crlf/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Tëmp\Ünïcödé
start
log
select a:
ok
ok
insert a: @WORK@/crlf/disk2
ok
state
select e:
ok
exit
#> expect {"event":"log","text":"Recombining the database at C:\\Tëmp\\Ünïcödé\\VELT_flat"}
#> expect {"event":"log","text":"append C:\\Tëmp\\Ünïcödé\\VELT_disk2\\x\\y.dat to C:\\Tëmp\\Ünïcödé\\VELT_flat\\x\\y.dat"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Tëmp\\Ünïcödé\\VELT_disk2\\"}
#> expect {"event":"end"}
#> same @WORK@/e/backup/single @WORK@/crlf/card
#> check grep -q $'^FILE: 1 0 1 [0-9]* /x/y.dat tag$' e/backup/single/archive.dat && ! grep -q $'\r' e/backup/single/archive.dat
#> check grep -qx 'HEADER LINE 2' e/backup/single/archive.dat
#> check test -d "c/Tëmp/Ünïcödé" && test -z "$(ls -A "c/Tëmp/Ünïcödé")"
#> check python3 -c 'import json,sys; L=[json.loads(l) for l in open("out.jsonl")]; i=[k for k,e in enumerate(L) if e["event"]=="state"][0]; last=[e["text"] for e in L[:i] if e["event"]=="log"][-1]; u=lambda t: len(t.encode("utf-16-le"))//2; s=L[i]; n=u(s["logText"]); sys.exit(s["logSelection"]!=[n-u(last)-2,u(last)] or "é" not in s["logText"])'
